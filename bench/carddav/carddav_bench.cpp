// Publishing 1,000 entries (and 100, for a quick look) to a Radicale on this
// machine, beside the floor of the same cards sent by a plain loop of PUTs one
// after the other: what is beyond the floor is the listing, the plan and the
// state file. Each run starts on an empty address book of its own. Needs
// radicale installed.

#include "carddav/carddav_sync.h"
#include "contacts/contact_export.h"
#include "contacts/vcard_writer.h"
#include "radicale_server.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

RadicaleServer* server = nullptr;
int books = 0;

std::vector<Contact> entries(int count)
{
    std::vector<Contact> contacts(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        contacts[size_t(i)].name = QStringLiteral("Иванов Иван %1").arg(i);
        contacts[size_t(i)].phones = {
            {QStringLiteral("+7 (495) 555-%1").arg(i, 4, 10, QChar('0'))}};
        contacts[size_t(i)].category = QStringLiteral("АБ");
    }
    ContactExport::assignUids(contacts);
    return contacts;
}

// A new, empty address book.
QUrl freshBook(CardDavClient& client)
{
    const QUrl book(server->root() + RadicaleServer::User + QStringLiteral("/b%1/").arg(++books));
    client.send("MKCOL", book,
                "<?xml version=\"1.0\"?><d:mkcol xmlns:d=\"DAV:\" "
                "xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:set><d:prop><d:resourcetype>"
                "<d:collection/><c:addressbook/></d:resourcetype></d:prop></d:set></d:mkcol>");
    return book;
}

void BM_PlainPutLoopFloor(benchmark::State& state)
{
    const std::vector<Contact> contacts = entries(int(state.range(0)));
    CardDavClient client(RadicaleServer::User, RadicaleServer::Password);
    for (auto _ : state) {
        state.PauseTiming();
        const QUrl book = freshBook(client);
        state.ResumeTiming();
        for (const Contact& contact : contacts) {
            QByteArray card;
            VCardWriter::append(card, contact);
            QUrl url = book;
            url.setPath(SyncPlan::ownPath(book.path(), contact.uid));
            benchmark::DoNotOptimize(
                client.send("PUT", url, card, {{"Content-Type", "text/vcard; charset=utf-8"}}));
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Publish(benchmark::State& state)
{
    const std::vector<Contact> contacts = entries(int(state.range(0)));
    CardDavClient client(RadicaleServer::User, RadicaleServer::Password);
    for (auto _ : state) {
        state.PauseTiming();
        const QUrl book = freshBook(client);
        const QString statePath = server->folder() + QStringLiteral("/state%1").arg(books);
        state.ResumeTiming();
        if (!CardDavSync(client, book, statePath).publish(contacts).ok())
            state.SkipWithError("the publish failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_PlainPutLoopFloor)->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(100)->Arg(1000);
BENCHMARK(BM_Publish)->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(100)->Arg(1000);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!RadicaleServer::installed()) {
        std::fputs("radicale is not installed; nothing to measure\n", stderr);
        return 0;
    }
    RadicaleServer radicale;
    if (!radicale.start())
        return 1;
    server = &radicale;
    CardDavClient(RadicaleServer::User, RadicaleServer::Password)
        .send("PROPFIND", QUrl(radicale.root() + RadicaleServer::User + "/"), {}, {{"Depth", "0"}});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
