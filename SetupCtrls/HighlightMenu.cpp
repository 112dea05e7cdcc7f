// The highlights' entries in the main menu: groups by kind, one entry per
// set of linked highlights, check marks that follow pinning, and stepping
// through a group with Previous and Next.
#include "HighlightMenu.h"

#include "ErrorDisplay.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QVariant>
#include <typeinfo>

namespace {

const char* const kHighlightProperty = "_ql4s_highlight";

QString settingsCaption()
{
    return QStringLiteral("&Settings");
}
QString calibrationCaption()
{
    return QStringLiteral("&Calibration");
}
QString optionsCaption()
{
    return QStringLiteral("&Options");
}
QString helpCaption()
{
    return QStringLiteral("&Help");
}

} // namespace

namespace HighlightMenu {

QString GroupCaption(THighlightType type)
{
    switch (type) {
    case htOptions:
        return optionsCaption();
    case htCalibration:
        return calibrationCaption();
    case htSettings:
    default:
        return settingsCaption();
    }
}

QString GroupStem(THighlightType type)
{
    return StripAccelerators(GroupCaption(type));
}

QStringList StopCaptions(THighlightType type)
{
    switch (type) {
    case htOptions:
        return {helpCaption()};
    case htCalibration:
        return {optionsCaption(), helpCaption()};
    case htSettings:
    default:
        return {calibrationCaption(), optionsCaption(), helpCaption()};
    }
}

QString FreeComponentName(const QObject* owner, const QString& stem)
{
    for (int n = 1;; ++n) {
        const QString name = stem + QString::number(n);
        if (!owner || !owner->findChild<QObject*>(name))
            return name;
    }
}

QString EntryStem(const QString& identTitle)
{
    return identTitle.isEmpty() ? QStringLiteral("Item") : identTitle;
}

QAction* FindEntry(const QMenuBar* menu, const QString& group, const QString& title,
                   QList<QAction*>* siblings)
{
    if (!menu)
        return nullptr;
    for (QAction* top : menu->actions()) {
        if (top->text() != group || !top->menu())
            continue;
        const QList<QAction*> entries = top->menu()->actions();
        for (QAction* entry : entries) {
            if (entry->text() == title) {
                if (siblings)
                    *siblings = entries;
                return entry;
            }
        }
    }
    return nullptr;
}

TBoardHighlight* EntryHighlight(const QAction* entry)
{
    const QPointer<QObject> h = entry->property(kHighlightProperty).value<QPointer<QObject>>();
    return static_cast<TBoardHighlight*>(h.data());
}

} // namespace HighlightMenu

using namespace HighlightMenu;

void TBoardHighlight::BuildMenuEntry()
{
    QMenuBar* menu = m_hostMenu;
    if (!menu)
        return;
    QWidget* owner = menu->window();
    const QString caption = GroupCaption(m_highlightType);
    const QList<QAction*> top = menu->actions();

    auto makeEntry = [&](QMenu* group) {
        if (m_title.isEmpty())
            return;
        auto* entry = new QAction(m_title, owner);
        entry->setObjectName(FreeComponentName(owner, EntryStem(m_identTitle)));
        entry->setCheckable(true);
        entry->setProperty(kHighlightProperty, QVariant::fromValue(QPointer<QObject>(this)));
        // A checkable action flips its own mark before it reports the
        // trigger; the mark is ours to set, so the flip is undone first.
        connect(entry, &QAction::triggered, this, [this, entry](bool checked) {
            Guarded([&] {
                entry->setChecked(!checked);
                MenuItemClick(entry);
            });
        });
        group->addAction(entry);
    };

    for (QAction* item : top) {
        if (item->text() != caption)
            continue;
        QMenu* group = item->menu();
        if (!group)
            return;
        for (const QAction* entry : group->actions())
            if (entry->text() == m_title)
                return; // a linked highlight made it
        makeEntry(group);
        return;
    }

    auto* group = new QMenu(caption, owner);
    group->setObjectName(FreeComponentName(owner, GroupStem(m_highlightType)));
    const QStringList stops = StopCaptions(m_highlightType);
    int p = 0;
    while (p < top.size() && !stops.contains(top[p]->text()))
        ++p;
    if (p < top.size())
        menu->insertMenu(top[p], group);
    else
        menu->addMenu(group);
    makeEntry(group);
}

void TBoardHighlight::CheckMenuEntry(bool value)
{
    if (QAction* entry = FindEntry(m_hostMenu, GroupCaption(m_highlightType), m_title)) {
        entry->setCheckable(true);
        entry->setChecked(value);
    }
}

void TBoardHighlight::MenuItemClick(QObject* sender)
{
    const bool fromEntry = sender && typeid(*sender) == typeid(QAction);
    if (fromEntry && static_cast<QAction*>(sender)->isChecked()) {
        if (m_popup) {
            m_popup->close();
            return;
        }
        // The window may belong to a linked highlight other than the one
        // that made the entry.
        for (TBoardHighlight* h : LinkedHighlights())
            if (h->m_popup)
                h->MenuItemClick(sender);
        return;
    }
    // Present the highlight as if pointed at and clicked; the leave does not
    // close the window, which is pinned by then.
    MouseEnter(false);
    Pin();
    MouseLeave(false);
}

void TBoardHighlight::selectNeighbour(bool next)
{
    QList<QAction*> entries;
    QAction* own = FindEntry(m_hostMenu, GroupCaption(m_highlightType), m_title, &entries);
    if (!own)
        return;
    const int n = int(entries.size());
    const int j = int(entries.indexOf(own));
    const int target = next ? (j == n - 1 ? 0 : j + 1) : (j == 0 ? n - 1 : j - 1);
    QAction* entry = entries[target];
    if (m_popup)
        m_popup->close();
    if (TBoardHighlight* h = EntryHighlight(entry))
        h->MenuItemClick(this);
    else
        entry->trigger();
}

void TBoardHighlight::SelectPrevious()
{
    selectNeighbour(false);
}

void TBoardHighlight::SelectNext()
{
    selectNeighbour(true);
}
