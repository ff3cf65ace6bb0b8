#pragma once

#include "widgets/TControl.h"

#include <QColor>
#include <QString>

class QFont;

namespace zdawnik {

enum class TAlignment
{
    LeftJustify,
    RightJustify,
    Center,
};

// Where the text lies vertically: at the top, or in the middle.
enum class TTextLayout
{
    Top,
    Center,
};

// A text on its parent. An auto-sized label takes the size of its text (one line unless it wraps;
// a wrapping label keeps its width and takes its height); a right-aligned one keeps its right edge
// as it grows or shrinks. A fixed label keeps its rectangle and cuts its text at the edges. An opaque
// label fills its rectangle with its colour before the text; a transparent one draws only the text.
//
// An ampersand makes the next character an accelerator: a single "&" is not drawn and underlines
// the character after it, "&&" draws one "&".
//
// The background colour is the palette's window colour and the text colour its window-text colour,
// both the parent's unless set, as is the font.
class TLabel : public TControl
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit TLabel(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& text);

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

    TAlignment alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);

    TTextLayout layout() const { return m_layout; }
    void setLayout(TTextLayout layout);

    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);

    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);

    QColor color() const;
    void setColor(const QColor& color);

    QColor fontColor() const;
    void setFontColor(const QColor& color);

    // The size an auto-sized label takes for its caption and font at its present width.
    QSize textSize() const;
    // How the label lays out its caption, as text flags: alignment, layout, wrapping, the ampersand.
    int textFlags() const;

    // Takes that size now. A label does so by itself when its caption or font changes while it is
    // visible, and otherwise when it is next shown.
    void adjustBounds();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void boundsChanged();

    QString m_caption;
    bool m_autoSize = true;
    // Whether an auto-sized label has taken its size for its caption and font since they changed.
    bool m_sized = false;
    TAlignment m_alignment = TAlignment::LeftJustify;
    TTextLayout m_layout = TTextLayout::Top;
    bool m_wordWrap = false;
    bool m_transparent = false;
};

// The text flags of a label laid out so.
int LabelTextFlags(TAlignment alignment, TTextLayout layout, bool wordWrap);

// The size a caption takes in a label of that font and those text flags, wrapped at width when the
// flags wrap. An empty caption is measured as one space, so that a label keeps the height of a line.
// Labels measure themselves here, and so does every check of whether a text fits its label.
QSize MeasureCaption(const QString& caption, const QFont& font, int flags, int width);

} // namespace zdawnik
