#include "platform/qt/widgets.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>

#include <cmath>
#include <utility>

#include "core/colour.h"
#include "platform/qt/colours.h"

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
    // An inner box paints nothing itself: what lies under it is its container's painting.
    if (container() == nullptr) setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox* PictureBox::container() const { return qobject_cast<PictureBox*>(parentWidget()); }

QColor PictureBox::fill() const { return toQColor(fill_); }

void PictureBox::setFill(ColourValue colour) {
    fill_ = colour;
    if (PictureBox* outer = container()) {
        // A pixel more all round: at fractional scales a border block can reach past the
        // box's own rectangle by a device pixel.
        outer->update(geometry().adjusted(-1, -1, 1, 1));
    } else {
        update();
    }
}

void PictureBox::setShowsPicture(bool shows) {
    showsPicture_ = shows;
    update();
}

PlacedBox PictureBox::place() const {
    // The window's logical pixels, which are 96-dpi ones.
    const QPoint corner = mapTo(window(), QPoint(0, 0));
    return {corner.x(), corner.y(), width(), height(), toColourValue(fill())};
}

const QImage& PictureBox::deviceImage(const PlacedBox& place, qreal scale) {
    if (!image_.isNull() && place == imagePlace_ && scale == imageScale_) return image_;
    drawScaledBox(place, showsPicture_, {}, scale, pixels_);
    if (image_.width() != pixels_.width || image_.height() != pixels_.height) {
        image_ = QImage(pixels_.width, pixels_.height, QImage::Format_RGB32);
    }
    for (int y = 0; y < pixels_.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        const ColourValue* in = pixels_.pixels.data() + static_cast<std::ptrdiff_t>(y) * pixels_.width;
        for (int x = 0; x < pixels_.width; ++x) line[x] = 0xFF000000u | (redOf(in[x]) << 16) | (greenOf(in[x]) << 8) | blueOf(in[x]);
    }
    imagePlace_ = place;
    imageScale_ = scale;
    return image_;
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    if (container() != nullptr) return;
    const qreal scale = devicePixelRatioF();
    QPainter painter(this);
    // Paint in device pixels from the device pixel nearest the box's corner: through
    // the painter's own scaling a fractional ratio would blend the picture's colours
    // and blur its 1-pixel lines.
    const QPointF corner = painter.deviceTransform().map(QPointF(0, 0));
    QTransform toDevice;
    toDevice.scale(1 / scale, 1 / scale);
    toDevice.translate(std::round(corner.x()) - corner.x(), std::round(corner.y()) - corner.y());
    painter.setWorldTransform(toDevice);
    const PlacedBox outer = place();
    painter.drawImage(QPoint(0, 0), deviceImage(outer, scale));
    for (QObject* child : children()) {
        const auto* box = qobject_cast<PictureBox*>(child);
        if (box == nullptr || box->isHidden()) continue;
        const ScaledFrame f = scaledFrame(box->place(), outer, scale);
        painter.fillRect(QRect(QPoint(f.outside.left, f.outside.top), QPoint(f.outside.right - 1, f.outside.bottom - 1)), Qt::black);
        painter.fillRect(QRect(QPoint(f.inside.left, f.inside.top), QPoint(f.inside.right - 1, f.inside.bottom - 1)), box->fill());
    }
}

}  // namespace vaskelo::qt
