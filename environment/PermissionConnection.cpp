#include "environment/PermissionConnection.h"

#include "environment/LoginSession.h"
#include "environment/SettingsLight.h"

#include <memory>
#include <utility>

SpConnection& SpConnection::operator=(SpConnection&& other) noexcept {
    if (this != &other) {
        Reset();
        manager_ = std::exchange(other.manager_, nullptr);
    }
    return *this;
}

void SpConnection::Reset() {
    if (!manager_) return;
    manager_->Release();
    delete std::exchange(manager_, nullptr);
}

namespace {

std::wstring VaultName(const std::wstring& localRoot) {
    return localRoot.substr(localRoot.rfind(L'\\') + 1);  // npos + 1 is 0: the whole root
}

}  // namespace

SpConnection OpenPermissionConnection(const std::wstring& localRoot) {
    const std::wstring vault = VaultName(localRoot);
    LoginSession session;
    if (!session.OpenSection()) return {};
    LoginFields login;
    if (!session.Lookup(vault, login)) return {};
    VaultSettings settings;
    if (!SettingsLight().ReadVaultSettings(vault, settings)) return {};

    SpConnection connection(new SpMgr);
    const SpConnectInfo info{settings.DbServer, settings.DbName, login.text5, login.text6, vault, login.text3, -1};
    if (connection.Get()->mhCreate(SpDbTypeVault, info) < 0) return {};  // released and deleted on the way out
    return connection;
}
