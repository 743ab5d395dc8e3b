#include "platform/qt/QtCheckList.h"

#include "platform/qt/QtText.h"

QtCheckList::QtCheckList(QWidget* parent) : m_list(new QListWidget(parent)) {
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
}

QtCheckList::~QtCheckList() {
    if (m_list && !m_list->parent()) delete m_list;
}

QListWidgetItem* QtCheckList::item(int index) const {
    if (!m_list || index < 0 || index >= m_list->count()) return nullptr;
    return m_list->item(index);
}

void QtCheckList::clear() {
    if (m_list) m_list->clear();
}

int QtCheckList::addItem(const std::string& text) {
    if (!m_list) return -1;
    auto* i = new QListWidgetItem(ToQString(text), m_list);
    i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    i->setCheckState(Qt::Unchecked);
    return m_list->count() - 1;
}

int QtCheckList::count() const { return m_list ? m_list->count() : 0; }

std::string QtCheckList::text(int index) const {
    const QListWidgetItem* i = item(index);
    return i ? FromQString(i->text()) : std::string();
}

bool QtCheckList::checked(int index) const {
    const QListWidgetItem* i = item(index);
    return i && i->checkState() == Qt::Checked;
}

void QtCheckList::setChecked(int index, bool checked) {
    if (QListWidgetItem* i = item(index)) i->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}
