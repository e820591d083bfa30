#include "app/notices.h"

#include "core/bounded_file.h"
#include "core/localization.h"
#include "core/safe_file.h"
#include "core/system_reason.h"
#include "core/text_fill.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

constexpr qint64 kLargestNotices = 1 << 20;

} // namespace

Notices::Notices(MessageService& messages, Localization& localization)
    : m_messages(messages), m_localization(localization)
{}

QString Notices::text(TextId id) const
{
    return m_localization.text(id);
}

ContactEntry::Labels Notices::contactLabels() const
{
    return {text(TextId::ContactLabelCell),         text(TextId::ContactLabelWork),
            text(TextId::ContactLabelHome),         text(TextId::ContactLabelFax),
            text(TextId::ContactLabelBirthday),     text(TextId::ContactLabelNickname),
            text(TextId::ContactLabelOrganisation), text(TextId::ContactLabelTitle),
            text(TextId::ContactLabelAddress),      text(TextId::ContactLabelUrl),
            text(TextId::ContactLabelCategories),   text(TextId::ContactLabelRole),
            text(TextId::ContactLabelMessenger),    text(TextId::ContactLabelAnniversary),
            text(TextId::ContactLabelSpouse),       text(TextId::ContactLabelPhone)};
}

std::function<QString(TextId)> Notices::textLookup() const
{
    return [this](TextId id) { return text(id); };
}

void Notices::present(const QString& text, MessageService::Icon icon)
{
    if (m_nobodyThere) {
        m_waiting << text;
        return;
    }
    m_messages.show(text, icon);
}

void Notices::presentError(const LocatedError& error)
{
    AppError shown = error.error;
    shown.description = describe(error.error);
    if (!error.file.isEmpty())
        shown.description =
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(error.file), shown.description);
    present(MessageService::formatError(shown, error.module, error.procedure),
            MessageService::Icon::None);
}

QString Notices::describe(const AppError& error) const
{
    if (!error.text) {
        const std::optional<TextId> reason = SystemReason::of(error);
        return reason ? text(*reason) : error.description;
    }
    return TextFill::fill(text(*error.text), error.args);
}

QString Notices::shortList(const QStringList& items, qsizetype most) const
{
    const QString comma = QStringLiteral(", ");
    if (items.size() <= most)
        return items.join(comma);
    return items.first(most).join(comma) + comma + text(TextId::ListMore).arg(items.size() - most);
}

QString Notices::describeReason(const QString& systemText) const
{
    const std::optional<TextId> reason = SystemReason::of(systemText);
    return reason ? text(*reason) : systemText;
}

QString Notices::unreadableReason(const QString& fileError,
                                  const std::optional<DataFile::Error>& parseError) const
{
    if (!parseError)
        return describeReason(fileError);
    if (parseError->line == 0)
        return describe(parseError->error);
    return text(TextId::UnreadableReason)
        .arg(QString::number(parseError->line), describe(parseError->error),
             QString::number(parseError->error.number));
}

void Notices::keepWaiting(const QString& folder, const QString& path)
{
    if (m_waiting.isEmpty())
        return;
    QDir().mkpath(folder);
    // Nothing else can be done with a notice that cannot be kept either.
    SafeFile::writeWhole(path, m_waiting.join(QStringLiteral("\r\n\r\n")).toUtf8());
    m_waiting.clear();
}

void Notices::showKept(const QString& path)
{
    // A link in the notices' place shows nothing of where it leads.
    if (QFileInfo(path).isSymLink()) {
        SafeFile::removeLink(path);
        return;
    }
    if (!QFileInfo(path).isFile())
        return;
    const BoundedFile::Result file =
        BoundedFile::read(path, kLargestNotices, BoundedFile::Links::Refuse);
    const QString when = QLocale().toString(QFileInfo(path).lastModified(), QLocale::ShortFormat);
    QFile::remove(path);
    if (!file.bytes || file.bytes->trimmed().isEmpty())
        return;
    present(text(TextId::ShutdownNotices).arg(when) + QStringLiteral("\r\n\r\n") +
                QString::fromUtf8(*file.bytes),
            MessageService::Icon::Exclamation);
}
