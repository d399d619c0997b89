// The few Qt widgets that behave differently from Qt's defaults: a band list whose
// only "click" is a pick from its entries, and a bordered picture box.
#pragma once

#include <QComboBox>
#include <QImage>
#include <QWidget>

#include <vector>

#include "core/colour.h"
#include "ui/scaled_box.h"

namespace vaskelo::qt {

// An editable drop-down list. Qt turns Enter and losing focus into a pick when the
// typed text equals an entry; here only choosing from the list (popup, arrow keys,
// wheel) is a pick, and typed text never completes to an entry.
class BandCombo : public QComboBox {
    Q_OBJECT

public:
    explicit BandCombo(QWidget* parent);

    // Shows `text` in the field with the entry of that name selected, if any, without
    // counting as a pick. Text that is no entry leaves no entry selected, so the next
    // arrow key starts from the first entry.
    void showText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// A box with a flat 1-pixel black border, filled with its colour, optionally showing
// the resistor picture at its interior's top-left corner. It paints in whole device
// pixels, enlarging by nearest neighbour at any display scale; a box standing in
// another box (a band swatch) is painted by that box, so that both land on the same
// device pixels even where the inner one's position is a fraction of a device pixel.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);
    // A system colour is looked up afresh at each paint, so it follows the scheme.
    void setFill(ColourValue colour);
    QColor fill() const;
    void setShowsPicture(bool shows);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureBox* container() const;
    // Where the box stands on the grid of the window's surface.
    PlacedBox place() const;
    // The box and its picture as device pixels, made again only when its colour, place
    // or the display scale change; the boxes standing in it are painted over it.
    const QImage& deviceImage(const PlacedBox& place, qreal scale);

    ColourValue fill_ = kWhite;
    bool showsPicture_ = false;
    BoxImage pixels_{};
    QImage image_;
    PlacedBox imagePlace_{};
    qreal imageScale_ = 0;
};

}  // namespace vaskelo::qt
