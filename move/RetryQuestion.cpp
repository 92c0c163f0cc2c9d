// The question a pass asks when a file cannot be opened or rewritten.
#include "move/Mover.h"

#include "common/TextFormat.h"
#include "module/Translate.h"
#include "report/ErrorText.h"
#include "report/ProductMessageBox.h"

namespace {

constexpr int kAnswerTryAgain = 0x20;
constexpr int kAnswerStopAsking = 0x100;

}  // namespace

int Mover::AskRetry(const std::wstring& path, HRESULT code) {
    const std::wstring text = FormatText(Translate(Msg::RetryReferenceUpdate), {path, ErrorText(code).Text()});
    return ShowProductMessageBox(Caption(), text, hwndParent);
}

// True when the user asks to try the file again. Any other answer gives the
// file up; "stop asking" also gives up every later file of the pass without a
// question, as silent mode does.
bool Mover::TryAgain(const std::wstring& path, HRESULT code, bool& stopAsking) {
    if (silent || stopAsking) return false;
    const int answer = AskRetry(path, code);
    if (answer == kAnswerStopAsking) stopAsking = true;
    return answer == kAnswerTryAgain;
}
