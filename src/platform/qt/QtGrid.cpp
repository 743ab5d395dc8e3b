#include "platform/qt/QtGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

#include "platform/qt/QtColour.h"
#include "platform/qt/QtText.h"

namespace {

constexpr int kCellPadding = 8;  // pixels a column adds to its characters
constexpr int kFitLimitChars = 45;  // the widest a column grows to fit its texts

int shiftFlags(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= kShiftFlag;
    if (m & Qt::ControlModifier) s |= kCtrlFlag;
    if (m & Qt::AltModifier) s |= kAltFlag;
    return s;
}

// The platform's virtual key code of a Qt key; 0 for keys without one.
int virtualKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return kKeyReturn;
        case Qt::Key_Shift: return kKeyShift;
        case Qt::Key_Control: return kKeyControl;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        default: return 0;
    }
}

int mouseButton(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton: return kMouseLeft;
        case Qt::RightButton: return kMouseRight;
        case Qt::MiddleButton: return kMouseMiddle;
        default: return 0;
    }
}

Qt::Alignment alignmentOf(const CellType& t) {
    const bool number = t.kind == CellKind::Number || t.kind == CellKind::Integer;
    switch (t.align) {
        case CellAlign::Left: return Qt::AlignLeft | Qt::AlignVCenter;
        case CellAlign::Centre: return Qt::AlignCenter;
        case CellAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case CellAlign::Default: break;
    }
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

// The editor of a cell: a line edit whose text goes back through the store,
// which checks it against the cell's type and raises the change.
class QtGrid::Delegate : public QStyledItemDelegate {
public:
    Delegate(QtGrid& grid, QObject* parent) : QStyledItemDelegate(parent), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        if (!m_grid.editable(index.column() + 1, index.row() + 1)) return nullptr;
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setAlignment(alignmentOf(m_grid.cellType(index.column() + 1, index.row() + 1)));
        return edit;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) edit->setText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) m_grid.commitEdit(index.column() + 1, index.row() + 1, edit->text());
    }

private:
    QtGrid& m_grid;
};

// Mouse presses on the cells and headings, and the keys of the table.
class QtGrid::Filter : public QObject {
public:
    Filter(QtGrid& grid, QObject* parent) : QObject(parent), m_grid(grid) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool onHeadings = m_grid.m_table && watched == m_grid.m_table->horizontalHeader()->viewport();
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                if (onHeadings) m_grid.m_headingPressed = true;
                if (auto* w = qobject_cast<QWidget*>(watched)) m_grid.raiseMouse(w, static_cast<QMouseEvent*>(event));
                break;
            case QEvent::MouseButtonDblClick:  // on a heading's edge: the column fitted to its texts
                if (onHeadings) m_grid.m_headingPressed = true;
                break;
            case QEvent::MouseButtonRelease:
                if (onHeadings) m_grid.m_headingPressed = false;
                break;
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (watched == m_grid.m_table && key->matches(QKeySequence::Paste)) {
                    m_grid.pasteClipboard();
                    return true;
                }
                if (watched == m_grid.m_table) m_grid.raiseKey(key, true);
                break;
            }
            case QEvent::KeyRelease:
                if (watched == m_grid.m_table) m_grid.raiseKey(static_cast<QKeyEvent*>(event), false);
                break;
            default: break;
        }
        return false;
    }

private:
    QtGrid& m_grid;
};

QtGrid::QtGrid(QWidget* parent) : m_table(new QTableWidget(parent)) {
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_table->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_table->setSortingEnabled(false);
    m_table->setWordWrap(false);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_delegate = new Delegate(*this, m_table);
    m_table->setItemDelegate(m_delegate);
    m_filter = new Filter(*this, m_table);
    m_table->installEventFilter(m_filter);
    m_table->viewport()->installEventFilter(m_filter);
    m_table->horizontalHeader()->viewport()->installEventFilter(m_filter);
    m_table->verticalHeader()->viewport()->installEventFilter(m_filter);

    // A selected column keeps its heading's weight, so the heading still fits.
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->verticalHeader()->setHighlightSections(false);

    QTableWidget* t = m_table;
    m_connections.push_back(QObject::connect(t, &QTableWidget::cellClicked, t, [this](int r, int c) {
        if (m_events.clicked) m_events.clicked(c + 1, r + 1);
    }));
    m_connections.push_back(QObject::connect(t, &QTableWidget::cellDoubleClicked, t, [this](int r, int c) {
        if (m_events.doubleClicked) m_events.doubleClicked(c + 1, r + 1);
    }));
    m_connections.push_back(QObject::connect(t->horizontalHeader(), &QHeaderView::sectionClicked, t, [this](int c) {
        if (m_events.clicked) m_events.clicked(c + 1, 0);
    }));
    m_connections.push_back(QObject::connect(t->verticalHeader(), &QHeaderView::sectionClicked, t, [this](int r) {
        if (m_events.clicked) m_events.clicked(0, r + 1);
    }));
    m_connections.push_back(QObject::connect(t->horizontalHeader(), &QHeaderView::sectionResized, t,
                                             [this](int c, int, int size) { userResized(c + 1, size); }));
    shapeChanged();
    for (int c = 0; c <= maxCols(); ++c) columnChanged(c);
}

QtGrid::~QtGrid() {
    for (const auto& c : m_connections) QObject::disconnect(c);
    if (m_table) {
        m_table->removeEventFilter(m_filter);
        m_table->viewport()->removeEventFilter(m_filter);
        m_table->horizontalHeader()->viewport()->removeEventFilter(m_filter);
        m_table->verticalHeader()->viewport()->removeEventFilter(m_filter);
        m_table->setItemDelegate(nullptr);
        delete m_delegate;
        delete m_filter;
        if (!m_table->parent()) delete m_table;
    }
}

void QtGrid::setSelectRows(bool rows) {
    if (!m_table) return;
    m_table->setSelectionBehavior(rows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

int QtGrid::pixelsFor(double chars) const {
    const int avg = m_table ? std::max(1, m_table->fontMetrics().averageCharWidth()) : 8;
    return static_cast<int>(std::lround(chars * avg)) + kCellPadding;
}

double QtGrid::charsFor(int pixels) const {
    const int avg = m_table ? std::max(1, m_table->fontMetrics().averageCharWidth()) : 8;
    return std::max(0, pixels - kCellPadding) / static_cast<double>(avg);
}

int QtGrid::contentsWidth(int col) const {
    if (!m_table || col < 1 || col > maxCols() || col >= static_cast<int>(m_fits.size())) return 0;
    if (m_table->font() != m_measuredFont) {
        for (ColumnFit& fit : m_fits) fit.textWidths.clear();
        m_measuredFont = m_table->font();
    }
    // Shaping is what a fit costs: each distinct text of a column is shaped
    // once, so a source shared by thousands of rows is shaped once and a
    // refill shapes only the texts it has not shown before.
    QHash<QString, int>& known = m_fits[static_cast<std::size_t>(col)].textWidths;
    const QFontMetricsF metrics(m_measuredFont);
    const int rows = m_table->rowCount();
    int widest = 0;
    for (int r = 0; r < rows; ++r) {
        const QTableWidgetItem* item = m_table->item(r, col - 1);
        if (!item) continue;
        const QString text = item->text();
        auto at = known.constFind(text);
        // To the fraction of a pixel: a text a fraction wider than its cell is elided.
        if (at == known.constEnd())
            at = known.insert(text, text.isEmpty() ? 0 : static_cast<int>(std::ceil(metrics.horizontalAdvance(text))));
        widest = std::max(widest, *at);
    }
    // The texts the column no longer holds are let go.
    if (known.size() > static_cast<qsizetype>(rows) + 64) {
        QHash<QString, int> held;
        for (int r = 0; r < rows; ++r)
            if (const QTableWidgetItem* item = m_table->item(r, col - 1)) {
                const QString text = item->text();
                held.insert(text, known.value(text));
            }
        known.swap(held);
    }
    const int heading = m_table->horizontalHeader()->sectionSizeHint(col - 1);
    return std::max(heading, widest > 0 ? widest + cellMargin() : 0);
}

bool QtGrid::userSized(int col) const {
    return col >= 1 && col < static_cast<int>(m_fits.size()) && m_fits[static_cast<std::size_t>(col)].userPixels >= 0;
}

void QtGrid::setWidensToTexts(bool widens) {
    m_widensToTexts = widens;
    for (ColumnFit& fit : m_fits) fit.stale = true;
    fitStale();
}

void QtGrid::refreshCell(int col, int row) {
    // A new item is made whole before the table takes it: each change of an
    // item the table holds is one more notice to its views.
    QTableWidgetItem* item = m_table->item(row - 1, col - 1);
    const bool fresh = !item;
    if (fresh) item = new QTableWidgetItem;
    const CellType type = cellType(col, row);
    item->setText(ToQString(text(col, row)));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable(col, row)) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setTextAlignment(alignmentOf(type));
    const QColor back = ToQColor(backColour(col, row), m_table->palette());
    const QColor fore = ToQColor(foreColour(col, row), m_table->palette());
    item->setBackground(back.isValid() ? QBrush(back) : QBrush());
    item->setForeground(fore.isValid() ? QBrush(fore) : QBrush());
    if (fresh) m_table->setItem(row - 1, col - 1, item);
}

void QtGrid::refreshHeading(int col, int row) {
    if (row == 0 && col >= 1) {
        const std::string t = text(col, 0);
        if (t.empty()) delete m_table->takeHorizontalHeaderItem(col - 1);  // the section's number
        else m_table->setHorizontalHeaderItem(col - 1, new QTableWidgetItem(ToQString(t)));
    } else if (col == 0 && row >= 1) {
        const std::string t = text(0, row);
        if (t.empty()) delete m_table->takeVerticalHeaderItem(row - 1);
        else m_table->setVerticalHeaderItem(row - 1, new QTableWidgetItem(ToQString(t)));
    }
}

int QtGrid::cellMargin() const {
    // The delegate's text margins either side, and the grid line.
    const int margin = m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 1;
    return 2 * margin + (m_table->showGrid() ? 1 : 0);
}

void QtGrid::fitStale() {
    if (!m_table || !redraw()) return;
    for (int c = 1; c < static_cast<int>(m_fits.size()); ++c)
        if (m_fits[static_cast<std::size_t>(c)].stale) fitColumn(c);
}

void QtGrid::fitColumn(int col) {
    ColumnFit& fit = m_fits[static_cast<std::size_t>(col)];
    if (colHidden(col)) return;  // fitted when it shows
    int width = fit.userPixels;
    if (width < 0) {
        width = pixelsFor(fit.leastChars);
        if (m_widensToTexts) {
            const int average = std::max(1, m_table->fontMetrics().averageCharWidth());
            const int limit = std::max(width, kFitLimitChars * average);
            width = std::max(width, std::min(contentsWidth(col), limit));
        }
    }
    fit.stale = false;
    if (m_table->columnWidth(col - 1) == width) return;
    m_applyingWidths = true;
    m_table->setColumnWidth(col - 1, width);
    m_applyingWidths = false;
}

bool QtGrid::stretched(int col) const {
    const QHeaderView* top = m_table->horizontalHeader();
    if (top->sectionResizeMode(col - 1) == QHeaderView::Stretch) return true;
    if (!top->stretchLastSection()) return false;
    for (int v = top->count() - 1; v >= 0; --v) {
        const int logical = top->logicalIndex(v);
        if (!top->isSectionHidden(logical)) return logical == col - 1;
    }
    return false;
}

void QtGrid::userResized(int col, int pixels) {
    if (m_applyingWidths || col < 1 || col >= static_cast<int>(m_fits.size())) return;
    noteColWidth(col, charsFor(pixels));
    // Only a drag on the headings is the user's; the table stretching its
    // last column to its edge is not.
    if (m_headingPressed && !stretched(col)) m_fits[static_cast<std::size_t>(col)].userPixels = pixels;
}

void QtGrid::cellsChanged(int col, int row, int col2, int row2) {
    if (!m_table) return;
    for (int r = row; r <= row2; ++r)
        for (int c = col; c <= col2; ++c) {
            if (r == 0 || c == 0) refreshHeading(c, r);
            else refreshCell(c, r);
        }
    if (m_widensToTexts)
        for (int c = std::max(col, 1); c <= col2 && c < static_cast<int>(m_fits.size()); ++c)
            m_fits[static_cast<std::size_t>(c)].stale = true;
    fitStale();
}

void QtGrid::shapeChanged() {
    if (!m_table) return;
    const int oldCols = m_table->columnCount();
    m_table->setRowCount(maxRows());
    m_table->setColumnCount(maxCols());
    m_fits.resize(static_cast<std::size_t>(maxCols()) + 1);
    for (int c = oldCols + 1; c <= maxCols(); ++c) m_fits[static_cast<std::size_t>(c)] = {colWidth(c), -1, true, {}};
    for (int r = 1; r <= maxRows(); ++r)
        for (int c = 1; c <= maxCols(); ++c)
            if (!m_table->item(r - 1, c - 1)) refreshCell(c, r);
    for (int c = 1; c <= maxCols(); ++c) refreshHeading(c, 0);
    for (int r = 1; r <= maxRows(); ++r) refreshHeading(0, r);
    m_applyingWidths = true;
    for (int c = oldCols + 1; c <= maxCols(); ++c) m_table->setColumnHidden(c - 1, colHidden(c));
    m_applyingWidths = false;
    if (m_widensToTexts)
        for (ColumnFit& fit : m_fits) fit.stale = true;
    fitStale();
}

void QtGrid::columnChanged(int col) {
    if (!m_table) return;
    if (col == 0) {
        m_table->verticalHeader()->setVisible(!colHidden(0));
        return;
    }
    if (col > maxCols()) return;
    m_applyingWidths = true;
    m_table->setColumnHidden(col - 1, colHidden(col));
    m_applyingWidths = false;
    m_fits[static_cast<std::size_t>(col)].stale = true;
    fitStale();
}

void QtGrid::columnWidthChanged(int col) {
    if (!m_table || col < 1 || col > maxCols()) {
        columnChanged(col);
        return;
    }
    ColumnFit& fit = m_fits[static_cast<std::size_t>(col)];
    fit.leastChars = colWidth(col);
    fit.userPixels = -1;
    fit.stale = true;
    // Without texts to measure the width is known at once.
    if (!m_widensToTexts) fitColumn(col);
    else fitStale();
}

void QtGrid::redrawChanged() {
    if (!m_table) return;
    m_table->setUpdatesEnabled(redraw());
    fitStale();
}

void QtGrid::gridColourChanged() {
    if (!m_table) return;
    QPalette pal = m_table->palette();
    const QColor c = ToQColor(gridBackColour(), pal);
    pal.setColor(QPalette::Base, c.isValid() ? c : QApplication::palette(m_table).color(QPalette::Base));
    m_table->setPalette(pal);
}

void QtGrid::commitEdit(int col, int row, const QString& typed) {
    if (!userEdit(col, row, FromQString(typed))) refreshCell(col, row);  // refused: the old text again
}

void QtGrid::setActiveCell(int col, int row) {
    if (!m_table || col < 1 || row < 1 || col > maxCols() || row > maxRows()) return;
    const QModelIndex index = m_table->model()->index(row - 1, col - 1);
    m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_table->scrollTo(index);
}

int QtGrid::activeCol() const {
    if (!m_table) return 0;
    const QModelIndex i = m_table->currentIndex();
    return i.isValid() ? i.column() + 1 : 0;
}

int QtGrid::activeRow() const {
    if (!m_table) return 0;
    const QModelIndex i = m_table->currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

std::vector<RowSpan> QtGrid::selectedBlocks() const {
    std::vector<RowSpan> blocks;
    if (!m_table) return blocks;
    const int rows = m_table->rowCount();
    for (const QItemSelectionRange& range : m_table->selectionModel()->selection()) {
        if (!range.isValid()) continue;
        if (rows > 1 && range.top() == 0 && range.bottom() == rows - 1) blocks.push_back({-1, -1});
        else blocks.push_back({range.top() + 1, range.bottom() + 1});
    }
    return blocks;
}

std::optional<RowSpan> QtGrid::selectedBlock() const {
    const auto blocks = selectedBlocks();
    if (blocks.empty()) return std::nullopt;
    return blocks.back();
}

void QtGrid::clearSelection() {
    if (m_table) m_table->clearSelection();
}

std::optional<GridCell> QtGrid::cellAt(int x, int y) const {
    if (!m_table) return std::nullopt;
    const QPoint p(x, y);
    QHeaderView* top = m_table->horizontalHeader();
    QHeaderView* side = m_table->verticalHeader();
    const QRect vp = m_table->viewport()->geometry();
    const bool inTop = top->isVisible() && top->geometry().contains(p);
    const bool inSide = side->isVisible() && side->geometry().contains(p);
    const bool inCorner = top->isVisible() && side->isVisible() && y < top->geometry().bottom() + 1 &&
                          x < side->geometry().right() + 1 && y >= 0 && x >= 0;
    if (inCorner && !inTop && !inSide) return GridCell{0, 0};
    if (inTop) {
        const int c = top->logicalIndexAt(x - top->x());
        if (c < 0) return std::nullopt;
        return GridCell{c + 1, 0};
    }
    if (inSide) {
        const int r = side->logicalIndexAt(y - side->y());
        if (r < 0) return std::nullopt;
        return GridCell{0, r + 1};
    }
    if (!vp.contains(p)) return std::nullopt;
    const int r = m_table->rowAt(y - vp.y());
    const int c = m_table->columnAt(x - vp.x());
    if (r < 0 || c < 0) return std::nullopt;
    return GridCell{c + 1, r + 1};
}

void QtGrid::pasteClipboard() {
    if (!m_table || !m_table->isEnabled()) return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return;
    pasteText(std::max(activeCol(), 1), std::max(activeRow(), 1), FromQString(clipboard->text()));
}

void QtGrid::setEnabled(bool enabled) {
    if (m_table) m_table->setEnabled(enabled);
}

void QtGrid::setVisible(bool visible) {
    if (m_table) m_table->setVisible(visible);
}

void QtGrid::raiseMouse(QWidget* from, QMouseEvent* event) {
    const QPoint p = from->mapTo(m_table, event->position().toPoint());
    const int shift = shiftFlags(event->modifiers());
    if (m_events.mouseDown) m_events.mouseDown(mouseButton(event->button()), shift, p.x(), p.y());
    if (event->button() == Qt::RightButton && m_events.rightClicked)
        if (const auto cell = cellAt(p.x(), p.y())) m_events.rightClicked(cell->col, cell->row);
}

void QtGrid::raiseKey(QKeyEvent* event, bool down) {
    if (event->isAutoRepeat() && !down) return;
    const int key = virtualKey(event->key());
    const int shift = shiftFlags(event->modifiers());
    if (down && m_events.keyDown) m_events.keyDown(key, shift);
    if (!down && m_events.keyUp) m_events.keyUp(key, shift);
}
