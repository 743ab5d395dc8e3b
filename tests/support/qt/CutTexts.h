// Finds the texts a window cuts: a label, button, grid heading, grid cell or list item
// whose text, measured in the widget's own font, needs more room than the
// widget gives it, and a text view or scroll area that hides part of what it
// holds without a scroll bar to reach it. Only what is on the screen counts:
// hidden widgets, hidden columns, and grid rows and columns scrolled out of
// sight are left alone.
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace cut_texts {

inline QString where(const QWidget* w) {
    QString path;
    for (const QWidget* p = w; p; p = p->parentWidget()) {
        const QString name =
            p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className()) : p->objectName();
        path = path.isEmpty() ? name : name + QLatin1Char('/') + path;
        if (p->isWindow()) break;
    }
    return path;
}

// The widest line as the text is laid out, to the fraction of a pixel: a
// text a fraction wider than its room is elided.
inline int lineWidth(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return static_cast<int>(std::ceil(widest));
}

// A label's own measure of its text: for a wrapped label the height it needs
// at its width, otherwise its size hint, which the label takes from the
// text as it lays it out (tab stops and all).
inline void label(const QLabel* l, QStringList& cut) {
    if (l->text().isEmpty() || !l->pixmap().isNull()) return;
    if (l->wordWrap()) {
        const int needed = l->heightForWidth(l->width());
        if (needed > l->height())
            cut << QStringLiteral("%1: wrapped \"%2\" needs %3 px of height, has %4")
                       .arg(where(l), l->text().left(60))
                       .arg(needed)
                       .arg(l->height());
        return;
    }
    const QSize needed = l->sizeHint();
    if (needed.width() > l->width() || needed.height() > l->height())
        cut << QStringLiteral("%1: \"%2\" needs %3x%4 px, has %5x%6")
                   .arg(where(l), l->text().left(60))
                   .arg(needed.width())
                   .arg(needed.height())
                   .arg(l->width())
                   .arg(l->height());
}

inline void button(const QAbstractButton* b, QStringList& cut) {
    if (b->text().isEmpty()) return;
    const QStyle* style = b->style();
    const QFontMetrics metrics(b->font());
    const int text = metrics.size(Qt::TextShowMnemonic, b->text()).width();
    int room = b->width();
    if (qobject_cast<const QCheckBox*>(b)) {
        room -= style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
    } else if (qobject_cast<const QRadioButton*>(b)) {
        room -= style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, b) +
                style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, b);
    } else if (auto* push = qobject_cast<const QPushButton*>(b)) {
        // The style's own room for the label: inside the frame and the default-button ring.
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        option.icon = push->icon();
        option.iconSize = push->iconSize();
        if (push->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault()) option.features |= QStyleOptionButton::DefaultButton;
        room = style->subElementRect(QStyle::SE_PushButtonContents, &option, push).width();
        if (!push->icon().isNull()) room -= push->iconSize().width() + 4;
    } else {
        auto* tool = qobject_cast<const QToolButton*>(b);
        if (!b->icon().isNull() && tool && tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon)
            room -= b->iconSize().width() + 4;
        room -= 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
    }
    if (text > room)
        cut << QStringLiteral("%1: button \"%2\" needs %3 px, has %4").arg(where(b), b->text()).arg(text).arg(room);
}

// The headings and cells of a grid that are on the screen.
inline void grid(const QTableView* view, QStringList& cut) {
    const QAbstractItemModel* model = view->model();
    if (!model) return;
    const QStyle* style = view->style();
    // The delegate's text margins, and the grid line.
    const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int cellMargin = 2 * textMargin + (view->showGrid() ? 1 : 0);
    const QHeaderView* top = view->horizontalHeader();
    const int headMargin = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, top);
    const QRect seen = view->viewport()->rect();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (view->isColumnHidden(c) || top->sectionSize(c) == 0) continue;
        const int x = top->sectionViewportPosition(c);
        // Only columns wholly in sight: the grid scrolls to the others.
        if (x < 0 || x + top->sectionSize(c) > seen.width()) continue;
        if (top->isVisible()) {
            QFont font = top->font();
            if (top->highlightSections()) font.setBold(true);  // as a heading of a selected column paints
            const QString text = model->headerData(c, Qt::Horizontal).toString();
            const int needed = lineWidth(font, text) + headMargin;
            if (!text.isEmpty() && needed > top->sectionSize(c))
                cut << QStringLiteral("%1: heading \"%2\" needs %3 px, has %4")
                           .arg(where(view), text)
                           .arg(needed)
                           .arg(top->sectionSize(c));
        }
        for (int r = 0; r < model->rowCount(); ++r) {
            if (view->isRowHidden(r)) continue;
            const int y = view->rowViewportPosition(r);
            if (y < 0 || y > seen.height()) continue;
            if (view->columnSpan(r, c) != 1) continue;
            const QModelIndex index = model->index(r, c);
            const QString text = index.data(Qt::DisplayRole).toString();
            if (text.isEmpty() || index.data(Qt::CheckStateRole).isValid()) continue;
            QFont font = view->font();
            if (const QVariant f = index.data(Qt::FontRole); f.isValid()) font = f.value<QFont>();
            const int needed = lineWidth(font, text) + cellMargin;
            if (needed > view->columnWidth(c))
                cut << QStringLiteral("%1: cell (%2, %3) \"%4\" needs %5 px, has %6")
                           .arg(where(view))
                           .arg(r + 1)
                           .arg(c + 1)
                           .arg(text)
                           .arg(needed)
                           .arg(view->columnWidth(c));
        }
    }
}

// The items of a list in sight: an item runs past the list's right edge.
inline void list(const QListView* view, QStringList& cut) {
    const QAbstractItemModel* model = view->model();
    if (!model) return;
    const QRect seen = view->viewport()->rect();
    for (int r = 0; r < model->rowCount(); ++r) {
        const QModelIndex index = model->index(r, 0);
        const QRect item = view->visualRect(index);
        if (view->isRowHidden(r) || !item.intersects(seen)) continue;
        if (item.left() < seen.left() || item.right() > seen.right())
            cut << QStringLiteral("%1: item \"%2\" needs %3 px, has %4")
                       .arg(where(view), index.data().toString())
                       .arg(item.width())
                       .arg(seen.width());
    }
}

// A text view's document beyond its viewport where no scroll bar shows.
inline void textView(const QTextEdit* view, QStringList& cut) {
    const QSizeF doc = view->document()->size();
    const QSize seen = view->viewport()->size();
    const bool tall = std::ceil(doc.height()) > seen.height() && !view->verticalScrollBar()->isVisible();
    const bool wide = std::ceil(doc.width()) > seen.width() && !view->horizontalScrollBar()->isVisible();
    if (tall || wide)
        cut << QStringLiteral("%1: text \"%2\" needs %3x%4 px, has %5x%6")
                   .arg(where(view), view->toPlainText().left(60))
                   .arg(std::ceil(doc.width()))
                   .arg(std::ceil(doc.height()))
                   .arg(seen.width())
                   .arg(seen.height());
}

// What a scroll area holds beyond its viewport where no scroll bar shows.
inline void scrollArea(const QScrollArea* area, QStringList& cut) {
    const QWidget* held = area->widget();
    if (!held || !held->isVisible()) return;
    const QSize seen = area->viewport()->size();
    const bool tall = held->height() > seen.height() && !area->verticalScrollBar()->isVisible();
    const bool wide = held->width() > seen.width() && !area->horizontalScrollBar()->isVisible();
    if (tall || wide)
        cut << QStringLiteral("%1: holds %2x%3 px, shows %4x%5")
                   .arg(where(area))
                   .arg(held->width())
                   .arg(held->height())
                   .arg(seen.width())
                   .arg(seen.height());
}

}  // namespace cut_texts

// Every cut text in the window and the widgets it holds, in words.
inline QStringList CutTexts(QWidget* window) {
    QStringList cut;
    QList<QWidget*> all = window->findChildren<QWidget*>();
    all.prepend(window);
    for (QWidget* w : all) {
        if (!w->isVisible() || w->width() <= 0 || w->height() <= 0) continue;
        if (auto* l = qobject_cast<QLabel*>(w)) cut_texts::label(l, cut);
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) cut_texts::button(b, cut);
        else if (auto* t = qobject_cast<QTableView*>(w)) cut_texts::grid(t, cut);
        else if (auto* v = qobject_cast<QListView*>(w)) cut_texts::list(v, cut);
        else if (auto* e = qobject_cast<QTextEdit*>(w)) cut_texts::textView(e, cut);
        else if (auto* a = qobject_cast<QScrollArea*>(w)) cut_texts::scrollArea(a, cut);
    }
    return cut;
}
