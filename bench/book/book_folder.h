#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder holding a book file "velkaro.dat" (the largest book
// unless other bytes are given), removed with the object: the set-up the
// benchmarks that read a book from disk share.
class BookFolder
{
public:
    BookFolder();
    explicit BookFolder(const QByteArray& bytes);

    // The folder, ending in a separator, as the storage takes it.
    QString folder() const { return m_dir.path() + u'/'; }
    QString path() const { return folder() + QStringLiteral("velkaro.dat"); }

    // The largest book's file bytes, made once per run.
    static const QByteArray& largestBookBytes();

private:
    QTemporaryDir m_dir;
};
