#include "platform/qt/widgets.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>

namespace vaskelo::qt {

BandCombo::BandCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(11);
}

void BandCombo::showText(const QString& text) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    setEditText(text);
}

void BandCombo::keyPressEvent(QKeyEvent* event) {
    // With the list closed, Enter would make Qt pick the entry matching the typed text.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && view() != nullptr && !view()->isVisible()) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void BandCombo::focusOutEvent(QFocusEvent* event) {
    // Leaving a field whose typed text equals an entry would otherwise pick it.
    const QSignalBlocker blocker(lineEdit());
    QComboBox::focusOutEvent(event);
}

namespace {

// Screen readers present the picture and the swatches as images, by their names.
QAccessibleInterface* pictureBoxAccessible(const QString& /*className*/, QObject* object) {
    auto* box = qobject_cast<PictureBox*>(object);
    return box != nullptr ? new QAccessibleWidget(box, QAccessible::Graphic) : nullptr;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    static const bool accessible = (QAccessible::installFactory(pictureBoxAccessible), true);
    static_cast<void>(accessible);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setFill(const QColor& colour) {
    fill_ = colour;
    update();
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    if (!picture_.isNull()) painter.drawImage(1, 1, picture_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace vaskelo::qt
