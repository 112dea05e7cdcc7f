#pragma once

#include "TBoardHighlight.h"

#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

// The main-menu groups the highlights put their entries in, one per kind:
// "&Settings", "&Calibration" and "&Options", always in that order and
// before "&Help".
namespace HighlightMenu {

QString GroupCaption(THighlightType type);
// Stem of the group's component name ("Settings" for "&Settings").
QString GroupStem(THighlightType type);
// Captions of the top-level items a new group is inserted before.
QStringList StopCaptions(THighlightType type);

// stem + the smallest number from 1 up that no component of `owner` (at any
// depth) is named with yet.
QString FreeComponentName(const QObject* owner, const QString& stem);

// Stem of an entry's component name: the title reduced to an identifier, or
// "Item" for a title without any identifier character, so that no entry is
// named by a bare number.
QString EntryStem(const QString& identTitle);

// The first entry captioned `title` in a group captioned `group` of the menu
// bar; with `siblings` the entries of its group. Null when there is none.
QAction* FindEntry(const QMenuBar* menu, const QString& group, const QString& title,
                   QList<QAction*>* siblings = nullptr);

// The highlight whose MenuItemClick an entry runs, or null for an entry no
// highlight made.
TBoardHighlight* EntryHighlight(const QAction* entry);

} // namespace HighlightMenu
