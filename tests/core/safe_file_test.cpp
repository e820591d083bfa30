#include "core/safe_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// Files written while it lives stop at `bytes`, as on a disk that fills up.
// Each test runs in a process of its own, so the limit touches nothing else.
class FileSizeCap
{
public:
    explicit FileSizeCap(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{bytes, m_old.rlim_max};
        m_set = setrlimit(RLIMIT_FSIZE, &cap) == 0;
    }
    ~FileSizeCap()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A short text is written at commit time and a long one at once; a write cut
// short must fail and keep the old file either way.
TEST(SafeFile, WriteCutShortFailsAndKeepsTheOldFileWhateverItsLength)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velkaro.dat"));
    ASSERT_FALSE(SafeFile::writeWhole(path, "old book"));
    for (const qsizetype length : {100, 200000}) {
        std::optional<AppError> error;
        {
            const FileSizeCap cap(16);
            ASSERT_TRUE(cap.isSet());
            error = SafeFile::writeWhole(path, QByteArray(length, 'x'));
        }
        EXPECT_TRUE(error) << length;
        EXPECT_EQ(bytesOf(path), "old book") << length;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"velkaro.dat"});
    }
    EXPECT_FALSE(SafeFile::writeWhole(path, "new book"));
    EXPECT_EQ(bytesOf(path), "new book");
}
