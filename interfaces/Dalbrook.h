// The vault client's stored-procedure library, Dalbrook.dll, imported by name
// with the classes it exports (GCC's decorated names, listed in Dalbrook.def).
// Declared once here, in the library's own form, so that any library built to
// this header can stand in for another.
#pragma once

#include <cstdint>
#include <string>

enum SpDbType : int32_t { SpDbTypeVault = 1 };
enum SPID : int32_t { SpidProject = 0x16 };

struct SpConnectInfo {              // passed by value to mhCreate
    std::wstring dbServer, dbName, login5, login6, vaultName, login3;
    int32_t value;                  // always -1
};

class Sp { public: virtual ~Sp(); };

class SpProject : public Sp {
public:
    int32_t mhGetUserRights(int32_t hostContext, int32_t folderId, uint32_t* rights);
};

class SpMgr {
public:
    SpMgr();
    ~SpMgr();
    int32_t mhCreate(SpDbType type, SpConnectInfo info);
    Sp* mpoGetProc(SPID id) const;
    void Release();
private:
    unsigned char state_[64];       // the library's members; the caller allocates the object
};
