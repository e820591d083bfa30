#pragma once

#include <QString>

// What a style is applied to: the selection of a rich-text editor. The setters
// carry the names of the page editor's own members, so the editor takes this
// role by declaring them overrides.
class StyleTarget
{
public:
    virtual ~StyleTarget() = default;

    virtual void setSelFontName(const QString& name) = 0;
    virtual void setSelFontSize(double points) = 0;
    virtual void setSelBold(bool on) = 0;
    virtual void setSelItalic(bool on) = 0;
    virtual void setSelUnderline(bool on) = 0;
    virtual void setSelStrikeThru(bool on) = 0;
    // A Windows colour value (0x00BBGGRR, or a system colour with the top bit set).
    virtual void setSelColor(quint32 winColor) = 0;

    // True while a style's attributes are being set one by one: a change
    // reported meanwhile is only part of the one edit the whole style makes.
    bool applyingStyle() const { return m_applyingStyle; }

    // Sets a style's attributes as one edit: `setAttributes` calls the
    // setters above between beginApply() and endApply().
    template <typename SetAttributes> void applyAsOneEdit(SetAttributes setAttributes)
    {
        m_applyingStyle = true;
        beginApply();
        setAttributes();
        m_applyingStyle = false;
        endApply();
    }

protected:
    // Called before the first attribute, with applyingStyle() already true:
    // the place to open one undo step for all of them.
    virtual void beginApply() = 0;
    // Called after the last attribute, with applyingStyle() false again, also
    // when the mask transfers nothing: the edit is reported here, once.
    virtual void endApply() = 0;

private:
    bool m_applyingStyle = false;
};
