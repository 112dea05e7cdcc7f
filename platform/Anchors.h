#pragma once

#include <QFlags>

class QWidget;

// Anchors of a child control: the edges of its parent whose distance it keeps
// when the parent is resized. Left and right both: it stretches; right only:
// it moves; neither: its centre keeps its share of the width. Likewise
// vertically. The rule is measured from the child's bounds whenever the
// program places it, and applied whenever the parent's size changes.
enum TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

constexpr TAnchors akLeftTop() { return TAnchors(akLeft) | akTop; }
constexpr TAnchors akAll() { return TAnchors(akLeft) | akTop | akRight | akBottom; }

void SetAnchors(QWidget* child, TAnchors anchors);
TAnchors Anchors(const QWidget* child);
