// Stand-in for the login manager: a process that creates the shared login
// section, its mutex and its two events, writes a login table into the
// section and keeps all of it until it is stopped.
//
// Started as: LoginManager.exe <ready event> <stop event>, two named events
// made by whoever starts it. It sets the first once the table is written (or
// the mutex held, or abandoned, when so configured) and ends when the second
// is set.
// Configuration (LoginManager.ini):
//   record=<t1>|<t2>|<t3>|<t4>|<t5>|<t6>|<t7>|<n1>|<n2>|<n3>|<n4>|<n5>|<flag>
//       one line per record, in table order; <t2> is the vault name; texts
//       cannot hold '|'; numbers in decimal or 0x hex; missing fields are
//       empty or 0.
//   section-size=<bytes>  the section's size, 65536 unless set.
//   fill=1  the records repeat, with no terminator, until the section is
//       full: the last one runs off its end.
//   hold-mutex=1  holds the mutex from before it is ready, with the section
//       still empty, until the event kLoginManagerReleaseEvent
//       (LoginManagerControl.h) is set; then writes the table and releases.
//   abandon-mutex=1  a thread takes the mutex and ends holding it, so that
//       the next wait on it returns WAIT_ABANDONED.
// Journal (LoginManager.journal):
//   Start <section bytes>
//   Table <whole records> <bytes written> <"terminated" | "unterminated">
//       <bytes of the record cut by the section's end, 0 when none>
#include "common/Handles.h"
#include "common/MutexLock.h"
#include "installation/loginmanager/LoginManagerControl.h"
#include "installation/standin/Journal.h"
#include "interfaces/LoginManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const wchar_t* kComponent = L"LoginManager";
constexpr long kDefaultSectionBytes = 64 * 1024;

bool Configured(const wchar_t* key) { return standin::Config(kComponent, key) == L"1"; }

void AppendText(std::string& bytes, const std::wstring& text) {
    for (const wchar_t c : text + L'\0') {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8 & 0xFF);
    }
}

void AppendNumber(std::string& bytes, uint32_t number) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(number >> (8 * i) & 0xFF);
}

// One configured record as it lies in the table.
std::string RecordBytes(const std::vector<std::wstring>& fields) {
    const auto field = [&](size_t at) { return at < fields.size() ? fields[at] : std::wstring(); };
    std::string bytes;
    for (size_t text = 0; text < kLoginRecordTexts; ++text) AppendText(bytes, field(text));
    for (size_t number = 0; number < kLoginRecordNumbers; ++number) {
        AppendNumber(bytes, static_cast<uint32_t>(wcstoul(field(kLoginRecordTexts + number).c_str(), nullptr, 0)));
    }
    return bytes;
}

struct Table {
    std::string bytes;
    size_t wholeRecords = 0;
    size_t cutRecordBytes = 0;
    bool terminated = false;
};

// The configured records, followed by the terminator or, with fill=1,
// repeated to the section's end; whatever does not fit is cut.
Table ConfiguredTable(size_t sectionBytes) {
    std::vector<std::string> records;
    for (const std::wstring& line : standin::ConfigValues(kComponent, L"record")) {
        records.push_back(RecordBytes(standin::SplitFields(line)));
    }
    const bool fill = Configured(L"fill") && !records.empty();
    Table table;
    for (size_t next = 0; next < records.size() || fill; ++next) {
        const std::string& record = records[next % records.size()];
        const size_t room = sectionBytes - table.bytes.size();
        if (record.size() > room) {
            table.bytes += record.substr(0, room);
            table.cutRecordBytes = room;
            return table;
        }
        table.bytes += record;
        ++table.wholeRecords;
    }
    const size_t terminator = std::min<size_t>(2, sectionBytes - table.bytes.size());
    table.bytes.append(terminator, '\0');
    table.terminated = terminator == 2;
    return table;
}

// Writes the table and journals it; the caller holds the mutex.
bool WriteTable(HANDLE section, size_t sectionBytes) {
    const Table table = ConfiguredTable(sectionBytes);
    const UniqueMappedView view(MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return false;
    std::memcpy(view.Get(), table.bytes.data(), table.bytes.size());
    standin::Journal(kComponent, {L"Table", std::to_wstring(table.wholeRecords), std::to_wstring(table.bytes.size()),
                                  table.terminated ? L"terminated" : L"unterminated",
                                  std::to_wstring(table.cutRecordBytes)});
    return true;
}

// A writer busy with the table: it holds the mutex from before it is ready,
// with the section still empty, and writes the table only when the test lets
// go, just before it releases the mutex. A reader that did not wait finds no
// record.
int WriteWhenReleased(HANDLE mutex, HANDLE section, size_t sectionBytes, HANDLE ready, HANDLE stop) {
    const UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, kLoginManagerReleaseEvent));
    if (!release) return 3;
    {
        const MutexLock writing(mutex);
        SetEvent(ready);
        const HANDLE waits[] = {stop, release.Get()};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return 0;
        if (!WriteTable(section, sectionBytes)) return 3;
    }
    WaitForSingleObject(stop, INFINITE);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]));
    const UniqueHandle stop(OpenEventW(SYNCHRONIZE, FALSE, argv[2]));
    if (!ready || !stop) return 2;

    const size_t sectionBytes =
        static_cast<size_t>(standin::ConfigCode(kComponent, L"section-size", kDefaultSectionBytes));
    const UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kLoginMutexName));
    const UniqueHandle addEvent(CreateEventW(nullptr, TRUE, FALSE, kLoginAddEventName));
    const UniqueHandle removeEvent(CreateEventW(nullptr, TRUE, FALSE, kLoginRemoveEventName));
    const UniqueHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                  static_cast<DWORD>(sectionBytes), kLoginSectionName));
    if (!mutex || !addEvent || !removeEvent || !section) return 3;
    standin::Journal(kComponent, {L"Start", std::to_wstring(sectionBytes)});

    if (Configured(L"hold-mutex")) {
        return WriteWhenReleased(mutex.Get(), section.Get(), sectionBytes, ready.Get(), stop.Get());
    }
    {
        const MutexLock writing(mutex.Get());
        if (!WriteTable(section.Get(), sectionBytes)) return 3;
    }
    if (Configured(L"abandon-mutex")) {
        std::thread([&] { WaitForSingleObject(mutex.Get(), INFINITE); }).join();
    }
    SetEvent(ready.Get());
    WaitForSingleObject(stop.Get(), INFINITE);
    return 0;
}
