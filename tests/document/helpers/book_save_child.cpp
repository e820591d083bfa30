// Saves books for the reliability tests, in its own process so that a test
// can kill it mid-save or cap the size of the files it may write.
//   book_save_child loop FILE         save books of 'A's and of 'B's in turn
//                                     into FILE, one byte on stdout after each
//   book_save_child fsize FOLDER N    save into FOLDER with files capped at N
//                                     bytes; print the messages shown

#include "core/message_service.h"
#include "document/book_storage.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::vector<PageRecord> bookOf(char letter)
{
    return std::vector<PageRecord>(2000, PageRecord{"p", QString(400, QLatin1Char(letter)), 0});
}

} // namespace

int main(int argc, char** argv)
{
    Book book;
    BookStorage storage(book);
    if (argc == 3 && std::strcmp(argv[1], "loop") == 0) {
        for (char letter = 'A';; letter = letter == 'A' ? 'B' : 'A') {
            book.setPages(bookOf(letter));
            if (storage.writeBook(QString::fromLocal8Bit(argv[2])) ||
                write(STDOUT_FILENO, &letter, 1) != 1)
                return 2;
        }
    }
    if (argc == 4 && std::strcmp(argv[1], "fsize") == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
        const rlimit cap{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &cap) != 0)
            return 4;
        storage.setFilePath(QString::fromLocal8Bit(argv[2]) + u'/');
        book.setPages(bookOf('B'));
        const BookStorage::SaveResult saved = storage.saveBook();
        for (const auto& error : {saved.dataError, saved.exportError}) {
            if (error) {
                const QString text =
                    MessageService::formatError(error->error, error->module, error->procedure);
                std::printf("%s\n", text.toUtf8().constData());
            }
        }
        return saved.dataSaved() ? 1 : 0;
    }
    return 64;
}
