// The installed copy, laid out two ways: by `cmake --install` into a
// temporary DESTDIR under the prefix /usr, and by unpacking the Debian
// package that the ctest fixture `debian_package` made with `cpack -G DEB`
// (skipped where Debian's dpkg-dev is missing). The package passes lintian,
// the menu entry and the AppStream metainfo their validators. The installed program is started
// offscreen against an empty home with its log kept on, runs its whole start-up and is ended by
// SIGTERM, as a logout ends it. The log shows what it looked up: a tip that could not be shown asks
// for the failure text "Common"/"TipFailure", and a personal "language.ini" makes every lookup
// visible there.

#include "core/code_page.h"
#include "core/ini_file.h"
#include "core/sequential_file_reader.h"
#include "terminated_program.h"
#include "test_files.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char kUserTranslation[] = "[Common]\r\nOK=OK\r\n";

enum class Layout
{
    CmakeInstall,
    DebianPackage
};

const char* layoutName(Layout layout)
{
    return layout == Layout::CmakeInstall ? "CmakeInstall" : "DebianPackage";
}

void PrintTo(Layout layout, std::ostream* out)
{
    *out << layoutName(layout);
}

struct ProcessResult
{
    int exitCode = -1;
    QByteArray output;
};

ProcessResult runProcess(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAll()};
}

bool packageToolsMissing()
{
    for (const char* tool : {"dpkg-shlibdeps", "dpkg-deb", "file"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return true;
    }
    return false;
}

// The Debian package of the build, made once for this test run; empty when
// there is not exactly one.
QString testPackage()
{
    const QDir folder(QStringLiteral(VELKARO_TEST_PACKAGE_DIR));
    const QStringList debs = folder.entryList({"velkaro_*.deb"}, QDir::Files);
    return debs.size() == 1 ? folder.filePath(debs.first()) : QString();
}

class InstalledCopy : public ::testing::TestWithParam<Layout>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid() && m_home.isValid());
        if (GetParam() == Layout::CmakeInstall)
            installWithCmake();
        else
            unpackThePackage();
    }

    void installWithCmake()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", m_root.path());
        const ProcessResult install =
            runProcess(QStringLiteral(VELKARO_CMAKE),
                       {"--install", VELKARO_BUILD_DIR, "--prefix", "/usr"}, env);
        ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();
    }

    void unpackThePackage()
    {
        if (packageToolsMissing())
            GTEST_SKIP() << "dpkg-dev is not installed";
        const QString deb = testPackage();
        ASSERT_FALSE(deb.isEmpty()) << "ctest's fixture debian_package made no package";
        const ProcessResult unpack = runProcess("dpkg-deb", {"-x", deb, m_root.path()});
        ASSERT_EQ(unpack.exitCode, 0) << unpack.output.toStdString();
    }

    QString installed(const QString& path) const { return m_root.filePath("usr/" + path); }
    QString programFolder() const
    {
        return installed(QStringLiteral(VELKARO_INSTALL_PROGRAM_FOLDER)) + '/';
    }
    QString userFolder() const { return m_home.filePath("share/Velkaro Pro/"); }
    QString log() const { return CodePage::decode(readAll(userFolder() + "velkaro.log")); }

    void runInstalledProgram(const QByteArray& userTranslation = kUserTranslation)
    {
        ASSERT_TRUE(writeAll(userFolder() + "language.ini", userTranslation));
        ASSERT_NO_FATAL_FAILURE(runAndTerminate(installed("bin/velkaro"), {"--log"}, m_home));
        ASSERT_TRUE(log().contains("has been launched")) << "no log in the user's folder";
        ASSERT_TRUE(
            log().contains(QString("localization file \"%1language.ini\"").arg(userFolder())))
            << "the personal translation was not read: " << log().toStdString();
    }

    // Every file and folder under the installed tree with its size, time
    // and permissions.
    QStringList installedTree() const
    {
        QStringList entries;
        QDirIterator it(m_root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            entries << QString("%1 %2 %3 %4")
                           .arg(info.filePath())
                           .arg(info.size())
                           .arg(info.lastModified().toMSecsSinceEpoch())
                           .arg(int(info.permissions()));
        }
        entries.sort();
        return entries;
    }

    void makeReadOnly(const QString& folder)
    {
        ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                      QFileDevice::ReadOther |
                                                      QFileDevice::ExeOther));
        m_readOnly << folder;
    }

    // The temporary folders can be removed again.
    void TearDown() override
    {
        for (const QString& folder : std::as_const(m_readOnly))
            QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::WriteOwner);
    }

    QTemporaryDir m_root;
    QTemporaryDir m_home;
    QStringList m_readOnly;
};

} // namespace

TEST_P(InstalledCopy, FindsItsTipsAndHelpInItsProgramFolder)
{
    EXPECT_TRUE(QFileInfo(installed("bin/velkaro")).isExecutable());
    EXPECT_TRUE(QFileInfo(installed("bin/velkaro-cli")).isExecutable());
    EXPECT_EQ(readAll(programFolder() + "velkar.tip"),
              readAll(VELKARO_SOURCE_DIR "/resources/velkar.tip"));
    QDirIterator help(VELKARO_SOURCE_DIR "/resources/help", {"*.hlp", "*.rtf"}, QDir::Files);
    while (help.hasNext()) {
        const QFileInfo file(help.next());
        EXPECT_EQ(readAll(programFolder() + file.fileName()), readAll(file.filePath()))
            << file.fileName().toStdString();
    }
    for (const char* name : {"velkar.tip", "velkaro.hlp", "velkaro-help.rtf"}) {
        EXPECT_EQ(readAll(programFolder() + "translations/en/" + name),
                  readAll(VELKARO_SOURCE_DIR "/resources/translations/en/" + QString(name)))
            << name;
    }
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "make_help.py")) << "sources stay behind";
    // The topic list names its document on its first line, relative to the program folder.
    {
        const QString document = SequentialFileReader(SequentialFileReader::decode(
                                                          readAll(programFolder() + "velkaro.hlp")))
                                     .readField();
        EXPECT_TRUE(QFileInfo(programFolder() + document).isFile()) << document.toStdString();
    }

    runInstalledProgram();
    EXPECT_FALSE(log().contains("[Common/TipFailure]")) << log().toStdString();
}

TEST_P(InstalledCopy, WithoutItsTipsFileItShowsTheFailureText)
{
    ASSERT_TRUE(QFile::remove(programFolder() + "velkar.tip"));
    runInstalledProgram();
    EXPECT_TRUE(log().contains("[Common/TipFailure]")) << log().toStdString();
}

// The English translation waits in the program folder until a user chooses
// it or copies it into his own folder; from then on it answers every text
// the start-up looks up.
TEST_P(InstalledCopy, ItsEnglishTranslationServesTheUserWhoCopiesIt)
{
    const QString english = programFolder() + "translations/en/language.ini";
    EXPECT_EQ(readAll(english),
              readAll(VELKARO_SOURCE_DIR "/resources/translations/en/language.ini"));
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "language.ini")) << "Russian is the default";

    const QByteArray translation = readAll(english);
    runInstalledProgram(translation);
    // Logged are the lookups the file answered with the text the window
    // already showed (a caption built in English) or not at all.
    static const QRegularExpression noEntry(QStringLiteral("No entry for \\[([^/]*)/([^\\]]*)\\]"));
    QStringList unanswered;
    for (const QRegularExpressionMatch& match : noEntry.globalMatch(log())) {
        if (!IniFile::findValue(translation, match.captured(1), match.captured(2)))
            unanswered << match.captured(1) + '/' + match.captured(2);
    }
    unanswered.removeDuplicates();
    unanswered.sort();
    // The window's caption and the data file's path are no texts.
    EXPECT_EQ(unanswered.join(' ').toStdString(), "frmMain/@ frmMain/lblStatus");
}

// The log, the styles, the settings and the new book all belong to the user.
// The tree is compared, not only made read-only: root writes anywhere.
TEST_P(InstalledCopy, WritesNothingIntoTheInstalledTree)
{
    makeReadOnly(installed("bin"));
    makeReadOnly(programFolder());
    const QStringList before = installedTree();
    runInstalledProgram();
    const QStringList after = installedTree();
    QStringList changed;
    for (const QString& entry : after + before) {
        if (!before.contains(entry) || !after.contains(entry))
            changed << entry;
    }
    EXPECT_TRUE(changed.isEmpty()) << changed.join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(userFolder() + "Styles.dat"));
    EXPECT_TRUE(QFileInfo::exists(m_home.filePath("Documents/velkaro.dat")));
}

TEST_P(InstalledCopy, MenuEntryIconsAndManualPagesMatchThePrograms)
{
    const QString entry = installed("share/applications/velkaro.desktop");
    const QString text = QString::fromUtf8(readAll(entry));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains("\nExec=velkaro\n"));
    EXPECT_TRUE(text.contains("\nIcon=velkaro\n"));
    EXPECT_TRUE(text.contains("\nCategories=Office;ContactManagement;\n"));
    for (const char* size :
         {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
        const QImage icon(installed(QString("share/icons/hicolor/%1/apps/velkaro.png").arg(size)));
        EXPECT_EQ(QString("%1x%2").arg(icon.width()).arg(icon.height()), size);
    }
    EXPECT_TRUE(QFileInfo::exists(installed("share/icons/hicolor/scalable/apps/velkaro.svg")));
    for (const char* file : {"man/man1/velkaro.1.gz", "man/man1/velkaro-cli.1.gz",
                             "doc/velkaro/copyright", "doc/velkaro/changelog.gz"})
        EXPECT_TRUE(QFileInfo::exists(installed(QString("share/") + file))) << file;

    const ProcessResult cli = runProcess(installed("bin/velkaro-cli"), {"--version"});
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_TRUE(cli.output.startsWith("velkaro-cli (Velkaro Pro) ")) << cli.output.toStdString();
}

TEST_P(InstalledCopy, MenuEntryAndMetainfoPassTheirValidators)
{
    for (const auto& [tool, arguments, clean] :
         {std::tuple{"desktop-file-validate",
                     QStringList{installed("share/applications/velkaro.desktop")}, ""},
          std::tuple{"appstreamcli",
                     QStringList{"validate", "--no-net", "--pedantic",
                                 installed("share/metainfo/org.example.velkaro.metainfo.xml")},
                     "\u2714 Validation was successful.\n"}}) {
        const QString validator = QStandardPaths::findExecutable(tool);
        if (validator.isEmpty())
            GTEST_SKIP() << tool << " (desktop-file-utils, appstream) is not installed";
        const ProcessResult validate = runProcess(validator, arguments);
        EXPECT_EQ(validate.exitCode, 0) << tool;
        // Hints and pedantic remarks count too.
        EXPECT_EQ(validate.output.toStdString(), clean) << tool;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, InstalledCopy,
                         ::testing::Values(Layout::CmakeInstall, Layout::DebianPackage),
                         [](const ::testing::TestParamInfo<Layout>& layout) {
                             return std::string(layoutName(layout.param));
                         });

// What apt needs to install the package on a fresh system: its libraries,
// computed from the programs, and its name, version and copyright.
TEST(DebianPackage, NamesTheLibrariesItsProgramsNeed)
{
    if (packageToolsMissing())
        GTEST_SKIP() << "dpkg-dev is not installed";
    const QString deb = testPackage();
    ASSERT_FALSE(deb.isEmpty()) << "ctest's fixture debian_package made no package";
    const ProcessResult fields =
        runProcess("dpkg-deb", {"--field", deb, "Package", "Version", "Depends"});
    ASSERT_EQ(fields.exitCode, 0) << fields.output.toStdString();
    const QString text = QString::fromUtf8(fields.output);
    EXPECT_TRUE(text.contains("Package: velkaro\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString("Version: %1\n").arg(VELKARO_VERSION))) << text.toStdString();
    for (const char* library : {"libqt6widgets6", "libqt6gui6", "libqt6core6", "libc6"})
        EXPECT_TRUE(text.contains(library)) << library << " missing from " << text.toStdString();
}

// Debian's own check of a package: no error and no warning.
TEST(DebianPackage, PassesLintian)
{
    if (packageToolsMissing() || QStandardPaths::findExecutable("lintian").isEmpty())
        GTEST_SKIP() << "dpkg-dev or lintian is not installed";
    const QString deb = testPackage();
    ASSERT_FALSE(deb.isEmpty()) << "ctest's fixture debian_package made no package";
    QProcess lintian;
    lintian.start("lintian", {"--fail-on", "error,warning", deb});
    ASSERT_TRUE(lintian.waitForFinished(300000));
    const QString findings = QString::fromUtf8(lintian.readAllStandardOutput());
    EXPECT_EQ(lintian.exitCode(), 0) << findings.toStdString();
    static const QRegularExpression errorOrWarning(QStringLiteral("^[EW]: "),
                                                   QRegularExpression::MultilineOption);
    EXPECT_FALSE(findings.contains(errorOrWarning)) << findings.toStdString();
}
