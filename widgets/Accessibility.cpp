#include "widgets/Accessibility.h"

#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>

namespace zdawnik {

namespace {

const char* const CaptionLabelProperty = "zdawnikCaptionLabel";
const char* const PartOfAnotherProperty = "zdawnikPartOfAnother";
const char* const RoleProperty = "zdawnikAccessibleRole";

bool Offered(const QWidget* widget)
{
    return !widget->isWindow() && !widget->property(PartOfAnotherProperty).toBool() && IsOnScreen(widget);
}

// A value read after its caption: "Ilość opanowanych pytań: 3"; a caption without its own colon gets
// one.
QString WithCaption(const QWidget* value, const QString& text)
{
    const auto* caption =
        qobject_cast<const TLabel*>(value->property(CaptionLabelProperty).value<QObject*>());
    if (!caption)
        return text;
    QString name = CaptionText(caption->caption()).trimmed();
    if (!name.endsWith(u':'))
        name += u':';
    return name + u' ' + text;
}

QAccessible::Role RoleOf(const QWidget* widget, QAccessible::Role fallback)
{
    const QVariant role = widget->property(RoleProperty);
    return role.isValid() ? static_cast<QAccessible::Role>(role.toInt()) : fallback;
}

// The program's own controls offer only the children the user can see: nothing that is hidden, lies
// under a panel, or is read as part of another object.
class AccessibleControl : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return static_cast<int>(offeredChildren().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = offeredChildren();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index])
                                                     : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return static_cast<int>(offeredChildren().indexOf(static_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> offeredChildren() const
    {
        QList<QWidget*> children;
        for (QObject* object : widget()->children())
            if (object->isWidgetType() && Offered(static_cast<QWidget*>(object)))
                children << static_cast<QWidget*>(object);
        return children;
    }
};

class AccessibleLabel : public AccessibleControl
{
public:
    explicit AccessibleLabel(TLabel* label) : AccessibleControl(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        const auto* label = static_cast<const TLabel*>(widget());
        if (kind == QAccessible::Name && label->accessibleName().isEmpty())
            return WithCaption(label, CaptionText(label->caption()));
        return AccessibleControl::text(kind);
    }
};

// A gauge only shows a value: a progress bar read as its caption and percentage. It has no value
// interface, as the accessibility bus would offer to raise and lower any value that has one.
class AccessibleGauge : public AccessibleControl
{
public:
    explicit AccessibleGauge(TGauge* gauge) : AccessibleControl(gauge, QAccessible::ProgressBar) {}

    QString text(QAccessible::Text kind) const override
    {
        const QString percent = QStringLiteral("%1%").arg(static_cast<const TGauge*>(widget())->Percent());
        if (kind == QAccessible::Value)
            return percent;
        if (kind == QAccessible::Name)
            return WithCaption(widget(), percent);
        return AccessibleControl::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = AccessibleControl::state();
        state.readOnly = true;
        return state;
    }
};

class AccessiblePicture : public AccessibleControl
{
public:
    explicit AccessiblePicture(QWidget* widget) : AccessibleControl(widget, QAccessible::Graphic) {}

    QAccessible::Role role() const override { return RoleOf(widget(), QAccessible::Graphic); }
};

// The hidden check box that keeps a panel's state, if the panel has one.
const QCheckBox* StateBox(const QWidget* panel)
{
    for (const QCheckBox* box : panel->findChildren<QCheckBox*>(Qt::FindDirectChildrenOnly))
        if (box->isHidden())
            return box;
    return nullptr;
}

// A panel groups what it shows; one that keeps its state in a hidden check box is a check box itself:
// named by the program (its text, or its picture), ticked as that box, ticked by its action exactly
// as by a click. What such a panel shows reads as part of it; a named mark on it (a good answer's)
// adds to its description. Asked afresh each time, as the panel gets its box after it is created.
class AccessiblePanel : public AccessibleControl
{
public:
    explicit AccessiblePanel(TPanel* panel) : AccessibleControl(panel, QAccessible::Grouping) {}

    QAccessible::Role role() const override
    {
        return StateBox(widget()) ? QAccessible::CheckBox : RoleOf(widget(), QAccessible::Grouping);
    }
    int childCount() const override { return StateBox(widget()) ? 0 : AccessibleControl::childCount(); }
    QAccessibleInterface* child(int index) const override
    {
        return StateBox(widget()) ? nullptr : AccessibleControl::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return StateBox(widget()) ? -1 : AccessibleControl::indexOfChild(child);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = AccessibleControl::state();
        if (const QCheckBox* box = StateBox(widget())) {
            state.checkable = true;
            state.checked = box->isChecked();
        }
        return state;
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Description || !StateBox(widget()))
            return AccessibleControl::text(kind);
        QStringList parts;
        if (!widget()->accessibleDescription().isEmpty())
            parts << widget()->accessibleDescription();
        for (const TImage* mark : widget()->findChildren<TImage*>(Qt::FindDirectChildrenOnly))
            if (!mark->isHidden() && !mark->accessibleName().isEmpty())
                parts << mark->accessibleName();
        return parts.join(QStringLiteral(", "));
    }
    QStringList actionNames() const override
    {
        if (!StateBox(widget()) || !widget()->isEnabled())
            return AccessibleControl::actionNames();
        return QStringList{toggleAction()} + AccessibleControl::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action != toggleAction() || !StateBox(widget())) {
            AccessibleControl::doAction(action);
            return;
        }
        // Only an answer the user can see is ticked.
        if (widget()->isEnabled() && IsOnScreen(widget()))
            emit static_cast<TPanel*>(widget())->clicked();
    }
    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == toggleAction() && StateBox(widget()))
            return {QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
        return AccessibleControl::keyBindingsForAction(action);
    }
};

// The program's drop-down lists are read by the name the program gives them on every system (the
// toolkit's own list reads as its chosen option on Linux), their choice as their value; they open
// only while on screen.
class AccessibleList : public QAccessibleWidget
{
public:
    explicit AccessibleList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value || (kind == QAccessible::Name && list()->accessibleName().isEmpty()))
            return list()->currentText();
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }
    QStringList actionNames() const override
    {
        if (!list()->isEnabled())
            return {};
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!list()->isEnabled() || !IsOnScreen(list()))
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }
    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == showMenuAction())
            return {QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("zdawnik::TLabel"))
        return new AccessibleLabel(static_cast<TLabel*>(object));
    if (className == QLatin1String("zdawnik::TGauge"))
        return new AccessibleGauge(static_cast<TGauge*>(object));
    if (className == QLatin1String("zdawnik::TImage"))
        return new AccessiblePicture(widget);
    if (className == QLatin1String("zdawnik::TPanel"))
        return new AccessiblePanel(static_cast<TPanel*>(object));
    if (className == QLatin1String("zdawnik::TComboBox"))
        return new AccessibleList(static_cast<QComboBox*>(object));
    // The program's own windows.
    if (widget->isWindow() && className.startsWith(QLatin1String("zdawnik::")))
        return new AccessibleControl(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

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

void SetCaptionLabel(QWidget* value, TLabel* caption)
{
    value->setProperty(CaptionLabelProperty, QVariant::fromValue<QObject*>(caption));
    ReadAsPartOfAnother(caption);
}

void ReadAsPartOfAnother(QWidget* widget)
{
    widget->setProperty(PartOfAnotherProperty, true);
}

void SetAccessibleRole(QWidget* widget, QAccessible::Role role)
{
    widget->setProperty(RoleProperty, static_cast<int>(role));
}

void NotifyNameChanged(QWidget* widget)
{
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void NotifyCheckedChanged(QWidget* widget)
{
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

void Announce(QWidget* widget)
{
    QAccessibleEvent event(widget, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

} // namespace zdawnik
