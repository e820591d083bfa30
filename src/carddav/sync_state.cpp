#include "carddav/sync_state.h"

#include "core/bounded_file.h"
#include "core/safe_file.h"
#include "crypto/book_cipher.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A state of 100,000 cards is about 30 MB; a larger file is no state of ours.
constexpr qint64 kMaxStateBytes = qint64(64) << 20;

const char* const kOrigins[] = {"foreign", "published", "fetched"};

QString originName(SyncCard::Origin origin)
{
    return QString::fromLatin1(kOrigins[static_cast<int>(origin)]);
}

std::optional<SyncCard::Origin> originOf(const QString& name)
{
    for (int i = 0; i < 3; ++i) {
        if (name == QLatin1String(kOrigins[i]))
            return static_cast<SyncCard::Origin>(i);
    }
    return std::nullopt;
}

SyncState untrusted()
{
    SyncState state;
    state.trusted = false;
    return state;
}

} // namespace

QString SyncState::pathFor(const QString& bookPath)
{
    return bookPath + QStringLiteral(".carddav");
}

SyncState SyncState::load(const QString& path, const BookKey* key)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    BoundedFile::Result read = BoundedFile::read(path, kMaxStateBytes);
    if (read.bytes && BookCipher::isSealed(*read.bytes))
        read.bytes = key ? BookCipher::open(*read.bytes, *key).plain : std::nullopt;
    return read.bytes ? fromBytes(*read.bytes) : untrusted();
}

std::optional<AppError> SyncState::save(const QString& path, const BookKey* key) const
{
    const QByteArray bytes = toBytes();
    return SafeFile::writeWhole(path, key ? BookCipher::seal(bytes, *key) : bytes,
                                QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

SyncState SyncState::fromBytes(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return untrusted();
    const QJsonObject root = json.object();
    SyncState state;
    state.addressBook = root.value(QLatin1String("addressBook")).toString();
    state.syncToken = root.value(QLatin1String("syncToken")).toString();
    state.labels = root.value(QLatin1String("labels")).toVariant().toStringList();
    state.unbound = root.value(QLatin1String("unbound")).toVariant().toStringList();
    for (const QJsonValue& value : root.value(QLatin1String("cards")).toArray()) {
        const QJsonObject card = value.toObject();
        const QString href = card.value(QLatin1String("href")).toString();
        const auto origin = originOf(card.value(QLatin1String("origin")).toString());
        if (href.isEmpty() || !origin || state.cards.contains(href))
            return untrusted();
        CardMerge::Owned owned;
        const QJsonObject ownedJson = card.value(QLatin1String("owned")).toObject();
        for (auto property = ownedJson.begin(); property != ownedJson.end(); ++property)
            owned[property.key()] = property.value().toVariant().toStringList();
        state.cards[href] = {
            card.value(QLatin1String("uid")).toString(),
            card.value(QLatin1String("etag")).toString(),
            card.value(QLatin1String("serverEtag")).toString(),
            card.value(QLatin1String("hash")).toString(),
            *origin,
            card.value(QLatin1String("cardUid")).toString(),
            QByteArray::fromBase64(card.value(QLatin1String("base")).toString().toLatin1()),
            std::move(owned),
            card.value(QLatin1String("gone")).toBool()};
    }
    return state;
}

QByteArray SyncState::toBytes() const
{
    QJsonArray cardsJson;
    for (const auto& [href, card] : cards) {
        QJsonObject owned;
        for (auto property = card.owned.begin(); property != card.owned.end(); ++property)
            owned.insert(property.key(), QJsonArray::fromStringList(property.value()));
        cardsJson.append(
            QJsonObject{{QLatin1String("href"), href},
                        {QLatin1String("uid"), card.uid},
                        {QLatin1String("etag"), card.etag},
                        {QLatin1String("serverEtag"), card.serverEtag},
                        {QLatin1String("hash"), card.hash},
                        {QLatin1String("origin"), originName(card.origin)},
                        {QLatin1String("cardUid"), card.cardUid},
                        {QLatin1String("base"), QString::fromLatin1(card.base.toBase64())},
                        {QLatin1String("owned"), owned},
                        {QLatin1String("gone"), card.gone}});
    }
    const QJsonObject root{{QLatin1String("addressBook"), addressBook},
                           {QLatin1String("syncToken"), syncToken},
                           {QLatin1String("labels"), QJsonArray::fromStringList(labels)},
                           {QLatin1String("unbound"), QJsonArray::fromStringList(unbound)},
                           {QLatin1String("cards"), cardsJson}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<QString> SyncState::pathOfUid(const QString& uid) const
{
    for (const auto& [href, card] : cards) {
        if (card.uid == uid)
            return href;
    }
    return std::nullopt;
}
