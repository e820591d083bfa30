#include "styles/styles.h"

#include "core/bounded_file.h"
#include "core/code_page.h"
#include "core/safe_file.h"

#include <QDir>
#include <QFileInfo>

bool Styles::remove(int index)
{
    if (!contains(index))
        return false;
    m_styles.erase(m_styles.begin() + (index - 1));
    return true;
}

Style* Styles::item(int index)
{
    return contains(index) ? &m_styles[index - 1] : nullptr;
}

const Style* Styles::item(int index) const
{
    return contains(index) ? &m_styles[index - 1] : nullptr;
}

bool Styles::setItem(int index, const Style& style)
{
    if (!contains(index))
        return false;
    m_styles[index - 1] = style;
    return true;
}

bool Styles::load(const QString& path)
{
    clear();
    m_errorString.clear();
    m_keptAside.clear();
    m_droppedLines = 0;
    m_firstDroppedLine = 0;
    m_holdFile = false;
    m_loadedFrom = path;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    // A link in the file's place is set aside unread, as any file that cannot be read.
    const BoundedFile::Result file = BoundedFile::read(path, MaxFileBytes, BoundedFile::Links::Refuse);
    if (!file.bytes) {
        m_errorString = file.error;
        SafeFile::keepAside(path, QStringLiteral("unreadable"), m_keptAside);
        return false;
    }
    const QString text = CodePage::decode(*file.bytes);
    int number = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        Style style;
        if (style.load(line)) {
            m_styles.push_back(style);
        } else if (!line.trimmed().isEmpty() && m_droppedLines++ == 0) {
            m_firstDroppedLine = number;
        }
    }
    // The next save writes only the styles read: the file goes on as it is
    // under a dated name first, and while it cannot, no save replaces it.
    if (m_droppedLines > 0)
        m_holdFile = !SafeFile::keepCopy(path, QStringLiteral("unreadable"), m_keptAside);
    return true;
}

// Whether the file at `path` already holds `bytes`: a close that changed no
// style writes nothing. A link is always replaced.
static bool holdsAlready(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() != bytes.size())
        return false;
    const BoundedFile::Result file = BoundedFile::read(path, bytes.size());
    return file.bytes && *file.bytes == bytes;
}

// Names nobody checked lose their uncoded characters to "?" rather than the
// whole style being lost.
std::optional<AppError> Styles::save(const QString& path) const
{
    QString text;
    for (const Style& style : m_styles)
        text += style.save() + QStringLiteral("\r\n");
    const QByteArray bytes = CodePage::encodeLossy(text);
    std::optional<AppError> error;
    if (m_holdFile && QDir::cleanPath(path) == QDir::cleanPath(m_loadedFrom))
        error = AppError{AppError::PermissionDenied,
                         QStringLiteral("Lines that could not be read were not kept")};
    else if (!holdsAlready(path, bytes))
        error = SafeFile::writeWhole(path, bytes);
    if (error) {
        error->text = TextId::StylesNotSaved;
        error->args = {QDir::toNativeSeparators(path), error->description};
    }
    return error;
}

std::optional<AppError> Styles::checkName(const QString& name)
{
    // Fields are split at ";": a line whose name holds one reads back only
    // while the rest of it is whole, and earlier versions lose the style.
    if (name.contains(u';'))
        return AppError{AppError::InvalidProcedureCall, QStringLiteral("Semicolon in a style name"),
                        TextId::StyleNameSemicolon};
    const CodePage::Encoded encoded = CodePage::encode(name);
    if (encoded.ok())
        return std::nullopt;
    return AppError{AppError::InvalidProcedureCall,
                    QStringLiteral("Characters without a code"),
                    TextId::UnstorableStyleName,
                    {encoded.unmappable}};
}

std::optional<AppError> Styles::checkFaceName(const QString& faceName)
{
    if (Style::faceNameStorable(faceName))
        return std::nullopt;
    return AppError{AppError::InvalidProcedureCall,
                    QStringLiteral("Font name cannot be stored"),
                    TextId::UnstorableStyleFont,
                    {faceName, StyleFont::defaultName()}};
}
