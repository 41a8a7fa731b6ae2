#include "bus/brokercredentials.h"

#include <QDir>

#include <memory>

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

namespace velk {

namespace {

// What lets an account read the file's contents.
constexpr ACCESS_MASK kReading = FILE_READ_DATA | GENERIC_READ | GENERIC_ALL;

struct LocalFree_ {
    void operator()(void* memory) const { LocalFree(memory); }
};

bool isWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
    return IsWellKnownSid(sid, type) != FALSE;
}

// "BUILTIN\Users", or the SID as text when the account has no name here.
QString accountName(PSID sid) {
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameSize = DWORD(std::size(name));
    DWORD domainSize = DWORD(std::size(domain));
    SID_NAME_USE use;
    if (LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use)) {
        const QString account = QString::fromWCharArray(name);
        return domainSize > 0 ? QString::fromWCharArray(domain) + QLatin1Char('\\') + account
                              : account;
    }
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return QStringLiteral("an unknown account");
    const std::unique_ptr<wchar_t, LocalFree_> owned(text);
    return QString::fromWCharArray(text);
}

// The first account besides SYSTEM, Administrators and the owner that the access list lets
// read the file; empty when there is none. A missing list lets everyone in.
QString firstOtherReader(PACL list, PSID owner) {
    if (!list)
        return QStringLiteral("Everyone");
    for (DWORD index = 0; index < list->AceCount; ++index) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(list, index, reinterpret_cast<void**>(&header)) ||
            header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        PSID sid = &allowed->SidStart;
        if (!(allowed->Mask & kReading) || isWellKnown(sid, WinLocalSystemSid) ||
            isWellKnown(sid, WinBuiltinAdministratorsSid) || (owner && EqualSid(sid, owner)))
            continue;
        return accountName(sid);
    }
    return {};
}

} // namespace

// The Windows form of the owner-only rule: the file's access list lets nobody but SYSTEM,
// Administrators and its owner read it.
QString BrokerCredentials::exposure(const QString& path) {
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    PSID owner = nullptr;
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD result = GetNamedSecurityInfoW(
        native.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
        &owner, nullptr, &list, nullptr, &descriptor);
    if (result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND)
        return {}; // reading it says so
    if (result != ERROR_SUCCESS)
        return QStringLiteral("cannot read the access list of %1: %2")
            .arg(path, qt_error_string(int(result)).trimmed());
    const std::unique_ptr<void, LocalFree_> owned(descriptor);
    const QString reader = firstOtherReader(list, owner);
    if (reader.isEmpty())
        return {};
    return QStringLiteral("%1 may be read by %2; allow only SYSTEM, Administrators and its owner "
                          "(icacls \"%1\" /inheritance:r /grant:r \"%USERNAME%\":F)")
        .arg(path, reader);
}

} // namespace velk
