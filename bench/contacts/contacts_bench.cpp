// The vCard export of the largest book a user can have: 32,767 address pages
// of rich text, two entries each, one with an indented line. The export must
// take under 2 s. The text export of the same book, which makes every page's
// plain text as the contacts do, is measured in the same run as the floor:
// what is beyond it is the work of finding the contacts and writing them.
// Every run starts from pages fresh from the data file, whose plain text is
// not made yet.

#include "contacts/contact_export.h"
#include "document/data_file.h"
#include "document/text_export.h"
#include "largest_book.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int kBookPages = LargestBook::pages;

QString addressPage(int n)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss"
                          "\\fcharset204{\\*\\fname Tahoma;}Tahoma CYR;}}\r\n"
                          "{\\colortbl ;\\red0\\green0\\blue0;}\r\n"
                          "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\cf1\\f0\\fs20 \\'c8\\'e2\\'e0"
                          "\\'ed\\'ee\\'e2 \\'c8\\'e2\\'e0\\'ed %1\\tab +7 (495) 555-%2, "
                          "ivanov%1@mail.ru\\par\r\n"
                          "\\tab\\tab \\'cc\\'ee\\'f1\\'ea\\'e2\\'e0, \\'ec\\'ee\\'e1. "
                          "8-916-000-%2\\par\r\n"
                          "\\'cf\\'e5\\'f2\\'f0\\'ee\\'e2\\tab 123-45-67\\par\r\n}\r\n")
        .arg(n)
        .arg(n % 10000, 4, 10, QLatin1Char('0'));
}

void exportBook(benchmark::State& state, ContactExport::Format format)
{
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<PageRecord> pages = LargestBook::make(addressPage);
        state.ResumeTiming();
        const std::vector<Contact> contacts = ContactExport::ofBook(pages);
        benchmark::DoNotOptimize(ContactExport::write(contacts, format));
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

void BM_TextExportFloor(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<PageRecord> pages = LargestBook::make(addressPage);
        state.ResumeTiming();
        benchmark::DoNotOptimize(TextExport::build(pages));
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

void BM_VCardExport(benchmark::State& state)
{
    exportBook(state, ContactExport::Format::VCard);
}

void BM_CsvExport(benchmark::State& state)
{
    exportBook(state, ContactExport::Format::Csv);
}

// The contacts alone, the plain text already made (every export after the
// book's first save).
void BM_VCardExportPlainTextKnown(benchmark::State& state)
{
    const std::vector<PageRecord> pages = LargestBook::make(addressPage);
    benchmark::DoNotOptimize(TextExport::build(pages));
    for (auto _ : state) {
        const std::vector<Contact> contacts = ContactExport::ofBook(pages);
        benchmark::DoNotOptimize(ContactExport::write(contacts, ContactExport::Format::VCard));
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

} // namespace

BENCHMARK(BM_TextExportFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VCardExport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VCardExportPlainTextKnown)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
