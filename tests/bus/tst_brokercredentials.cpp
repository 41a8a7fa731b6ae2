#include "bus/brokercredentials.h"

#include <QtTest>

#ifdef Q_OS_WIN
#include <aclapi.h>
#include <sddl.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using namespace velk;

namespace {

#ifdef Q_OS_WIN
// The running account's SID as text, for an access list that names the file's owner.
QString ownSid() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    char buffer[256];
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size);
    CloseHandle(token);
    wchar_t* text = nullptr;
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text);
    const QString sid = QString::fromWCharArray(text);
    LocalFree(text);
    return sid;
}

// Gives the file exactly the access list `sddl` (protected from its folder's).
bool restrict(const QString& path, const QString& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            reinterpret_cast<const wchar_t*>(sddl.utf16()), SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL list = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted);
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD result =
        SetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, list, nullptr);
    LocalFree(descriptor);
    return result == ERROR_SUCCESS;
}

// The access list the file has now, as SDDL.
QString keptAccess(const QString& path) {
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    wchar_t* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    const QString sddl = text ? QString::fromWCharArray(text) : QString();
    LocalFree(text);
    LocalFree(descriptor);
    return sddl;
}

// The account the access list's last entry is for ("BU"), or NO_ACCESS_CONTROL.
QString lastTrustee(const QString& sddl) {
    const qsizetype at = sddl.lastIndexOf(QStringLiteral(";;;"));
    return at < 0 ? sddl.mid(2) : sddl.mid(at + 3).chopped(1);
}
#endif

} // namespace

// The credentials file's rule, in each system's own terms: nobody but its owner (and, on
// Windows, SYSTEM and Administrators) may read it; otherwise it is refused, naming the file.
class TestBrokerCredentials : public QObject {
    Q_OBJECT

private slots:
    void exposure_data() {
        QTest::addColumn<QString>("access"); // SDDL on Windows, octal mode elsewhere
        QTest::addColumn<QString>("reader"); // who the refusal names; empty: accepted
#ifdef Q_OS_WIN
        const QString owner = ownSid();
        QTest::newRow("owner, SYSTEM, Administrators")
            << QStringLiteral("D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;%1)").arg(owner) << QString();
        QTest::newRow("owner reads only")
            << QStringLiteral("D:P(A;;FR;;;%1)").arg(owner) << QString();
        QTest::newRow("users read")
            << QStringLiteral("D:P(A;;FA;;;%1)(A;;FR;;;BU)").arg(owner) << QStringLiteral("Users");
        QTest::newRow("everyone reads") << QStringLiteral("D:P(A;;FA;;;%1)(A;;GR;;;WD)").arg(owner)
                                        << QStringLiteral("Everyone");
        QTest::newRow("users may only write")
            << QStringLiteral("D:P(A;;FA;;;%1)(A;;FW;;;BU)").arg(owner) << QString();
        QTest::newRow("users' entry only for files made inside")
            << QStringLiteral("D:P(A;;FA;;;%1)(A;OIIO;FA;;;BU)").arg(owner) << QString();
        QTest::newRow("no access list")
            << QStringLiteral("D:NO_ACCESS_CONTROL") << QStringLiteral("Everyone");
#else
        QTest::newRow("owner only") << QStringLiteral("600") << QString();
        QTest::newRow("owner reads only") << QStringLiteral("400") << QString();
        QTest::newRow("group reads") << QStringLiteral("640") << QStringLiteral("others");
        QTest::newRow("others read") << QStringLiteral("604") << QStringLiteral("others");
        QTest::newRow("others may only write") << QStringLiteral("602") << QString();
#endif
    }
    void exposure() {
        QFETCH(QString, access);
        QFETCH(QString, reader);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("broker credentials"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("velk\ns3cret\n");
        file.close();
#ifdef Q_OS_WIN
        QVERIFY(restrict(path, access));
        // Wine keeps of an access list only what Unix modes can say (the owner, Everyone).
        if (!reader.isEmpty() && !keptAccess(path).contains(lastTrustee(access)))
            QSKIP("this file system did not keep the access list as set");
#else
        QVERIFY(::chmod(QFile::encodeName(path).constData(), access.toUInt(nullptr, 8)) == 0);
#endif
        QString why;
        const std::optional<BrokerCredentials> read = BrokerCredentials::read(path, &why);
        if (reader.isEmpty()) {
            QVERIFY2(read, qPrintable(why));
            QCOMPARE(read->user, QStringLiteral("velk"));
            QCOMPARE(read->password, QStringLiteral("s3cret"));
            return;
        }
        QVERIFY(!read);
        QVERIFY2(why.startsWith(path + QStringLiteral(" may be read by")), qPrintable(why));
        QVERIFY2(why.contains(reader), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestBrokerCredentials)
#include "tst_brokercredentials.moc"
