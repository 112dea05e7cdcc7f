#include "Anchors.h"

#include <QEvent>
#include <QPointer>
#include <QRect>
#include <QResizeEvent>
#include <QSize>
#include <QWidget>
#include <cmath>

namespace {

const char* const kAnchorsProperty = "_ql4s_anchors";

struct Rule
{
    QRect bounds;      // the child's bounds when the rule was measured
    QSize parentSize;  // the parent's client size then
};

// One per anchored child: watches the child (a placement by program measures
// the rule anew) and its parent (a resize applies the rule).
class AnchorKeeper : public QObject
{
public:
    AnchorKeeper(QWidget* child) : QObject(child), m_child(child)
    {
        child->installEventFilter(this);
        attachParent();
        measure();
    }

    void measure()
    {
        if (!m_child->parentWidget())
            return;
        m_rule.bounds = m_child->geometry();
        m_rule.parentSize = m_child->parentWidget()->size();
        m_placed = m_rule.bounds;
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == m_child) {
            if (e->type() == QEvent::ParentChange) {
                attachParent();
                measure();
            } else if ((e->type() == QEvent::Move || e->type() == QEvent::Resize) && !m_applying) {
                measure();
            }
        } else if (watched == m_parent && e->type() == QEvent::Resize) {
            apply(static_cast<QResizeEvent*>(e)->oldSize());
        }
        return false;
    }

private:
    void attachParent()
    {
        if (m_parent)
            m_parent->removeEventFilter(this);
        m_parent = m_child->parentWidget();
        if (m_parent)
            m_parent->installEventFilter(this);
    }

    static void axis(bool lo, bool hi, int start, int len, int oldSpan, int newSpan, int& outStart,
                     int& outLen)
    {
        const int delta = newSpan - oldSpan;
        outStart = start;
        outLen = len;
        if (lo && hi) {
            outLen = len + delta;
        } else if (hi) {
            outStart = start + delta;
        } else if (!lo && oldSpan > 0) {
            const double centre = (start + len / 2.0) * newSpan / oldSpan;
            outStart = int(std::lround(centre - len / 2.0));
        }
    }

    void apply(QSize oldParentSize)
    {
        // A hidden child placed by program gets no move or resize event, so
        // the rule is measured here from where the program put it.
        if (m_child->geometry() != m_placed) {
            m_rule.bounds = m_child->geometry();
            if (oldParentSize.isValid())
                m_rule.parentSize = oldParentSize;
            m_placed = m_rule.bounds;
        }
        if (!m_parent || m_rule.parentSize.isEmpty())
            return;
        const TAnchors a = Anchors(m_child);
        const QSize now = m_parent->size();
        int x, w, y, h;
        axis(a & akLeft, a & akRight, m_rule.bounds.x(), m_rule.bounds.width(),
             m_rule.parentSize.width(), now.width(), x, w);
        axis(a & akTop, a & akBottom, m_rule.bounds.y(), m_rule.bounds.height(),
             m_rule.parentSize.height(), now.height(), y, h);
        m_applying = true;
        m_child->setGeometry(x, y, std::max(0, w), std::max(0, h));
        m_applying = false;
        m_placed = m_child->geometry();
    }

    QWidget* m_child;
    QPointer<QWidget> m_parent;
    Rule m_rule;
    QRect m_placed; // the child's bounds when last measured or placed here
    bool m_applying = false;
};

} // namespace

void SetAnchors(QWidget* child, TAnchors anchors)
{
    child->setProperty(kAnchorsProperty, int(anchors));
    // AnchorKeeper has no meta-object of its own, so findChild would take any
    // child object (a scroll area's viewport, say) for one.
    AnchorKeeper* keeper = nullptr;
    for (QObject* o : child->children())
        if ((keeper = dynamic_cast<AnchorKeeper*>(o)))
            break;
    if (!keeper)
        keeper = new AnchorKeeper(child);
    else
        keeper->measure();
}

TAnchors Anchors(const QWidget* child)
{
    const QVariant v = child->property(kAnchorsProperty);
    return v.isValid() ? TAnchors(v.toInt()) : akLeftTop();
}
