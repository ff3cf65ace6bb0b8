#include "widgets/Accessibility.h"

#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QAccessibleWidget>

namespace zdawnik {

namespace {

class AccessibleLabel : public QAccessibleWidget
{
public:
    explicit AccessibleLabel(TLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        const auto* label = static_cast<const TLabel*>(widget());
        if (kind == QAccessible::Name && label->accessibleName().isEmpty())
            return CaptionText(label->caption());
        return QAccessibleWidget::text(kind);
    }
};

class AccessibleGauge : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleGauge(TGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return QStringLiteral("%1%").arg(gauge()->Percent());
        return QAccessibleWidget::text(kind);
    }
    QVariant currentValue() const override { return gauge()->Progress(); }
    void setCurrentValue(const QVariant&) override {} // shows a value; the user does not set it
    QVariant maximumValue() const override { return gauge()->MaxValue(); }
    QVariant minimumValue() const override { return gauge()->MinValue(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    const TGauge* gauge() const { return static_cast<const TGauge*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("zdawnik::TLabel"))
        return new AccessibleLabel(static_cast<TLabel*>(object));
    if (className == QLatin1String("zdawnik::TGauge"))
        return new AccessibleGauge(static_cast<TGauge*>(object));
    if (className == QLatin1String("zdawnik::TImage"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (className == QLatin1String("zdawnik::TPanel"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
    return nullptr;
}

} // namespace

bool IsOnScreen(const QWidget* widget)
{
    if (!widget || !widget->isVisible())
        return false;
    for (const QWidget* level = widget; !level->isWindow(); level = level->parentWidget()) {
        const QWidget* parent = level->parentWidget();
        const QRect area(widget->mapTo(parent, QPoint(0, 0)), widget->size());
        const QObjectList& siblings = parent->children();
        // Later siblings lie above earlier ones.
        for (qsizetype i = siblings.indexOf(level) + 1; i < siblings.size(); ++i) {
            const auto* panel = qobject_cast<const TPanel*>(siblings[i]);
            if (panel && !panel->isHidden() && panel->geometry().contains(area))
                return false;
        }
    }
    return true;
}

void InstallAccessibleInterfaces()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(Factory);
    installed = true;
}

QString CaptionText(const QString& caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 >= caption.size())
                break; // a closing "&" marks nothing and reads as nothing
            ++i;
        }
        text += caption[i];
    }
    return text;
}

} // namespace zdawnik
