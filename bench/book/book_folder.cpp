#include "book_folder.h"

#include "document/data_file.h"
#include "largest_book.h"

#include <QFile>

BookFolder::BookFolder() : BookFolder(largestBookBytes()) {}

BookFolder::BookFolder(const QByteArray& bytes)
{
    QFile file(path());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("the benchmark's book could not be written");
}

const QByteArray& BookFolder::largestBookBytes()
{
    static const QByteArray bytes = DataFile::serialize(LargestBook::make());
    return bytes;
}
