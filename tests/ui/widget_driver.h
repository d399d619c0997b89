// Real user input for the window's widgets, shared by the window tests: picks from
// a drop-down by mouse, and typing any text the way a keyboard delivers it.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

#include "platform/qt/widgets.h"

namespace vaskelo::qt::testing {

// Opens the list with its arrow button and clicks the entry. A list may take the
// click for the end of the one that opened it, as a person's too-quick click; then
// it is clicked again, as a person would.
inline bool pickWithMouse(BandCombo* combo, int row) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 8, combo->height() / 2));
        QAbstractItemView* view = combo->view();
        if (!QTest::qWaitFor([view] { return view->isVisible(); })) continue;
        QTest::qWait(3 * QApplication::doubleClickInterval());  // a release too soon is ignored
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        if (!QTest::qWaitFor([view] { return !view->isVisible(); }, 500)) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
            if (!QTest::qWaitFor([view] { return !view->isVisible(); }, 500)) continue;
        }
        if (combo->currentIndex() == row && combo->currentText() == combo->itemText(row)) return true;
    }
    return false;
}

// Opens the list from the keyboard (Alt+Down, or F4 for odd rows), goes to the
// entry from the top and confirms it with Enter.
inline bool pickWithKeys(BandCombo* combo, int row) {
    combo->setFocus();
    if (row % 2 == 0) {
        QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    } else {
        QTest::keyClick(combo, Qt::Key_F4);
    }
    QAbstractItemView* view = combo->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); })) return false;
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < row; ++i) QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    if (!QTest::qWaitFor([view] { return !view->isVisible(); }, 500)) return false;
    return combo->currentIndex() == row && combo->currentText() == combo->itemText(row);
}

// Replaces the field's text: select all, then one key event per character; a long
// text arrives in one piece, as from an input method.
inline void typeText(BandCombo* combo, const QString& text) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(combo, Qt::Key_Backspace);
    } else if (text.size() > 64) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(combo, &commit);
    } else {
        // QTest's own helper only knows ASCII.
        for (const char32_t codePoint : text.toUcs4()) {
            QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1), Qt::NoModifier);
        }
    }
}

}  // namespace vaskelo::qt::testing
