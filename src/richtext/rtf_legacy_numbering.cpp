#include "richtext/rtf_legacy_numbering.h"

#include "richtext/rtf_list_table.h"

#include <algorithm>

QString RtfLegacyNumbering::next(const Definition& definition)
{
    if (definition.kind == Definition::Kind::Continued)
        return {};
    if (definition.kind == Definition::Kind::Bullet) {
        m_previous = definition;
        return (definition.before.isEmpty() ? QStringLiteral("\u2022") : definition.before) + u'\t';
    }
    m_count = m_previous == definition ? std::min(m_count + 1, RtfListTable::MaxStartAt * 2)
                                       : definition.startAt;
    m_previous = definition;
    return definition.before + RtfListTable::formatNumber(m_count, definition.format) +
           definition.after + u'\t';
}
