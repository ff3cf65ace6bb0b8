#include "widgets/TLabel.h"

#include "widgets/Accessibility.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace zdawnik {

namespace {

// Tall enough for any text a label wraps.
constexpr int UnboundedHeight = 1 << 24;

void SetPaletteColor(QWidget& widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette own = widget.palette();
    own.setColor(role, color);
    widget.setPalette(own);
}

} // namespace

TLabel::TLabel(QWidget* parent) : TControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
}

bool TLabel::event(QEvent* event)
{
    if (event->type() == QEvent::Show && !m_sized)
        adjustBounds();
    return TControl::event(event);
}

void TLabel::boundsChanged()
{
    // A label out of sight takes its size when it is next shown: a window of many labels, most of
    // them on panels not shown yet, does not load a font for each as it starts.
    if (isVisible())
        adjustBounds();
    else
        m_sized = false;
}

void TLabel::setCaption(const QString& text)
{
    if (text == m_caption)
        return;
    m_caption = text;
    boundsChanged();
    update();
    NotifyNameChanged(this);
}

void TLabel::setAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    boundsChanged();
}

void TLabel::setAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

void TLabel::setLayout(TTextLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    update();
}

void TLabel::setWordWrap(bool on)
{
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    boundsChanged();
    update();
}

void TLabel::setTransparent(bool on)
{
    if (on == m_transparent)
        return;
    m_transparent = on;
    // An opaque label covers its rectangle itself: what lies beneath need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    update();
}

QColor TLabel::color() const
{
    return palette().color(QPalette::Window);
}

void TLabel::setColor(const QColor& color)
{
    SetPaletteColor(*this, QPalette::Window, color);
}

QColor TLabel::fontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TLabel::setFontColor(const QColor& color)
{
    SetPaletteColor(*this, QPalette::WindowText, color);
}

QSize TLabel::textSize() const
{
    return MeasureCaption(m_caption, font(), textFlags(), width());
}

void TLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        boundsChanged();
    TControl::changeEvent(event);
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), color());
    painter.setPen(fontColor());
    painter.drawText(rect(), textFlags(), m_caption);
}

int TLabel::textFlags() const
{
    return LabelTextFlags(m_alignment, m_layout, m_wordWrap);
}

void TLabel::adjustBounds()
{
    if (!m_autoSize)
        return;
    m_sized = true;
    const QSize size = textSize();
    // A right-aligned label keeps its right edge: it grows and shrinks to the left.
    const int left = m_alignment == TAlignment::RightJustify ? x() + width() - size.width() : x();
    setGeometry(left, y(), size.width(), size.height());
}

int LabelTextFlags(TAlignment alignment, TTextLayout layout, bool wordWrap)
{
    int flags = Qt::TextShowMnemonic | Qt::TextExpandTabs;
    switch (alignment) {
    case TAlignment::LeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case TAlignment::RightJustify:
        flags |= Qt::AlignRight;
        break;
    case TAlignment::Center:
        flags |= Qt::AlignHCenter;
        break;
    }
    flags |= layout == TTextLayout::Center ? Qt::AlignVCenter : Qt::AlignTop;
    if (wordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

QSize MeasureCaption(const QString& caption, const QFont& font, int flags, int width)
{
    const QString text = caption.isEmpty() ? QStringLiteral(" ") : caption;
    const QFontMetrics metrics(font);
    if (flags & Qt::TextWordWrap)
        return metrics.boundingRect(QRect(0, 0, width, UnboundedHeight), flags, text).size();
    return metrics.size(flags, text);
}

} // namespace zdawnik
