// The first byte holds the find options, the bytes up to the first line
// break the sample (UTF-8), the rest a page's text as a data file stores it.
// The page is read from a book file as "velkaro-cli find" reads it, and the
// filter that spares decoding pages must never turn it away while the
// finder would match the sample in its plain text.

#include "document/data_file.h"
#include "document/stored_text_filter.h"
#include "document/tab_runs.h"
#include "richtext/text_finder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kOptionBits[] = {TextFinder::wholeWord, TextFinder::matchCase, TextFinder::yoAsYe,
                               TextFinder::digitsOnly};

int optionsOf(std::uint8_t byte)
{
    int options = 0;
    for (size_t bit = 0; bit < std::size(kOptionBits); ++bit)
        options |= (byte >> bit) & 1 ? kOptionBits[bit] : 0;
    return options;
}

// The plain text the finder searches: an address page as the tab clean-up at
// load leaves it.
QString searchedText(const PageRecord& page)
{
    const QString& plain = page.plainText();
    return TabRuns::hasSurplus(plain) ? TabRuns::collapsed(plain) : plain;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype lineEnd = rest.indexOf('\n');
    if (lineEnd <= 0)
        return 0;
    const QString sample = QString::fromUtf8(rest.first(lineEnd));
    const QByteArray file = "1\r\n\"AB\",\"" + rest.sliced(lineEnd + 1).toByteArray() + "\"\r\n";
    const DataFile::Index index = DataFile::index(file);
    if (!index.ok() || index.records.empty() || index.charset != DataFile::Charset::Windows1251)
        return 0;
    const int options = optionsOf(data[0]);
    const QByteArrayView stored = index.records.front().text;
    const bool passes = StoredTextFilter(sample, options).mayHold(stored);
    // A filter goes on from the last page it looked at where the two open
    // alike; it must answer as a fresh one.
    const StoredTextFilter shared(sample, options);
    for (const qsizetype cut : {stored.size() / 2, stored.size() - 1}) {
        shared.mayHold(stored.first(std::max<qsizetype>(cut, 0)));
        if (shared.mayHold(stored) != passes) {
            std::fprintf(stderr,
                         "a filter that saw %lld bytes of the page first answered "
                         "otherwise\n",
                         static_cast<long long>(cut));
            std::abort();
        }
    }
    if (passes)
        return 0;
    const QString text = searchedText(index.storedPage(0, StoredFile(new StoredBytes(file))));
    if (TextFinder::find(text, sample, 0, -1, options) >= 0) {
        std::fprintf(stderr, "the filter turned away a page holding \"%s\" (options %#x): %s\n",
                     qPrintable(sample), options, qPrintable(text.left(2000)));
        std::abort();
    }
    return 0;
}
