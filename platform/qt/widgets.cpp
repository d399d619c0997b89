#include "platform/qt/widgets.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>

#include <cmath>
#include <utility>

#include "core/colour.h"

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

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // An inner box paints nothing itself: what lies under it is its container's painting.
    if (container() == nullptr) setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox* PictureBox::container() const { return qobject_cast<PictureBox*>(parentWidget()); }

void PictureBox::setFill(const QColor& colour) {
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

namespace {

ColourValue colourValue(const QColor& colour) {
    return static_cast<ColourValue>(colour.red()) | (static_cast<ColourValue>(colour.green()) << 8) |
           (static_cast<ColourValue>(colour.blue()) << 16);
}

}  // namespace

const QImage& PictureBox::deviceImage(qreal scale) {
    // Places on the grid of the window's surface: its logical pixels, which are 96-dpi ones.
    const QPoint corner = mapTo(window(), QPoint(0, 0));
    const PlacedBox place{corner.x(), corner.y(), width(), height(), colourValue(fill_)};
    std::vector<PlacedBox> inner;
    for (QObject* child : children()) {
        const auto* box = qobject_cast<PictureBox*>(child);
        if (box == nullptr || box->isHidden()) continue;
        const QRect g = box->geometry().translated(corner);
        inner.push_back({g.x(), g.y(), g.width(), g.height(), colourValue(box->fill_)});
    }
    if (!image_.isNull() && place == imagePlace_ && inner == imageInner_ && scale == imageScale_) return image_;
    drawScaledBox(place, showsPicture_, inner, scale, pixels_);
    if (image_.width() != pixels_.width || image_.height() != pixels_.height) {
        image_ = QImage(pixels_.width, pixels_.height, QImage::Format_RGB32);
    }
    for (int y = 0; y < pixels_.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        const ColourValue* in = pixels_.pixels.data() + static_cast<std::ptrdiff_t>(y) * pixels_.width;
        for (int x = 0; x < pixels_.width; ++x) line[x] = 0xFF000000u | (redOf(in[x]) << 16) | (greenOf(in[x]) << 8) | blueOf(in[x]);
    }
    imagePlace_ = place;
    imageInner_ = std::move(inner);
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
    painter.drawImage(QPoint(0, 0), deviceImage(scale));
}

}  // namespace vaskelo::qt
