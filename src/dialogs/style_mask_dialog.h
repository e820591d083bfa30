#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class QListWidget;
class Style;

// `frmUnused`: which attributes of a style its application transfers, one
// checked item per bit of the mask `unused`. OK keeps only the listed bits;
// Cancel, Esc and the frame change nothing.
class StyleMaskDialog : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current caption as default).
    using FormLocalize = std::function<void(QWidget* form)>;

    // The items of `lstList`: the translated "List" entry split at "|", its
    // first seven pieces, and the built-in captions where it has fewer.
    static QStringList listItems(const QString& translated);

    // `CurrentStyle` is the style edited; it must outlive the dialog.
    StyleMaskDialog(Style& CurrentStyle, const TextLookup& text, const FormLocalize& localize,
                    QWidget* owner = nullptr);

private:
    void onOk();

    Style& m_style;
    QListWidget* m_attributeList = nullptr;
};
