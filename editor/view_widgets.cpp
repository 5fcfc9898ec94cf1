#include "editor/view_widgets.h"

#include <algorithm>

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "editor/editor_model.h"

PictureView::PictureView(QWidget* parent, int width, int height, ViewHooks hooks)
    : QWidget(parent), image_(width, height), hooks_(std::move(hooks)) {
    setFixedSize(width, height);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureView::paintEvent(QPaintEvent*) {
    // Wraps the pixels without copying; alpha 0 lets the window show through.
    QImage picture(reinterpret_cast<const uchar*>(image_.pixels.data()), image_.width, image_.height,
                   QImage::Format_ARGB32);
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
    if (!hasFocus()) return;
    // The keyboard cursor: a band inside the outlined cell.
    QRect cell = Focus().adjusted(1, 1, -1, -1);
    painter.setPen(QPen(QColor::fromRgba(FocusColour), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(cell).adjusted(1, 1, -1, -1));
}

void PictureView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void PictureView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

bool PictureView::SelectionKey(QKeyEvent* event) {
    int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) SelectPaletteEntry(key - Qt::Key_0, 0);
    else if (key == Qt::Key_BracketLeft) StepPaletteSelection(-1);
    else if (key == Qt::Key_BracketRight) StepPaletteSelection(1);
    else return false;
    if (hooks_.selected) hooks_.selected();
    return true;
}

namespace {
QPoint At(QMouseEvent* event) { return event->position().toPoint(); }
bool PlaceKey(int key) { return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter; }
bool EraseKey(int key) { return key == Qt::Key_Delete || key == Qt::Key_Backspace; }
// Arrow keys as steps; false for other keys.
bool Arrow(int key, int* dx, int* dy) {
    *dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
    *dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
    return *dx != 0 || *dy != 0;
}
}  // namespace

BoardView::BoardView(QWidget* parent, ViewHooks hooks)
    : PictureView(parent, BoardViewWidth, BoardViewHeight, std::move(hooks)) {
    setMouseTracking(true);
    Redraw(BoardCursor.column, BoardCursor.row);
}

void BoardView::Redraw(int column, int row) {
    DrawBoardView(image_, column, row);
    update();
}

QRect BoardView::Focus() const { return {32 * BoardCursor.column, 32 * BoardCursor.row, 32, 32}; }

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    if (BoardMouseMove(At(event).x(), At(event).y())) Redraw(BoardCursor.column, BoardCursor.row);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    bool changed = false;
    if (event->button() == Qt::LeftButton) changed = BoardLeftDown(At(event).x(), At(event).y());
    if (event->button() == Qt::RightButton) changed = BoardRightDown(At(event).x(), At(event).y());
    if (changed) {
        Redraw(BoardCursor.column, BoardCursor.row);
        if (hooks_.edited) hooks_.edited(EditStep::BoardCell);
    }
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    int dx, dy;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return QWidget::keyPressEvent(event);
    if (Arrow(event->key(), &dx, &dy)) {
        MoveBoardCursor(dx, dy);
    } else if (PlaceKey(event->key()) || EraseKey(event->key())) {
        if (PlaceKey(event->key()) ? PlaceAtBoardCursor() : EraseAtBoardCursor())
            if (hooks_.edited) hooks_.edited(EditStep::BoardCell);
    } else if (!SelectionKey(event)) {
        return QWidget::keyPressEvent(event);
    }
    Redraw(BoardCursor.column, BoardCursor.row);
}

QueueView::QueueView(QWidget* parent, ViewHooks hooks)
    : PictureView(parent, QueueViewWidth, QueueViewHeight, std::move(hooks)) {
    setMouseTracking(true);
    Redraw(QueueCursor.pair, QueueCursor.half);
}

void QueueView::Redraw(int pair, int half) {
    DrawQueueView(image_, pair, half);
    update();
}

QRect QueueView::Focus() const {
    return {48 * (QueueCursor.pair % 4), 80 * (QueueCursor.pair / 4) + 32 * QueueCursor.half, 32, 32};
}

void QueueView::mouseMoveEvent(QMouseEvent* event) {
    if (QueueMouseMove(At(event).x(), At(event).y())) Redraw(QueueCursor.pair, QueueCursor.half);
}

void QueueView::mousePressEvent(QMouseEvent* event) {
    bool changed = false;
    if (event->button() == Qt::LeftButton) changed = QueueLeftDown(At(event).x(), At(event).y());
    if (event->button() == Qt::RightButton) changed = QueueRightDown(At(event).x(), At(event).y());
    if (changed) {
        Redraw(QueueCursor.pair, QueueCursor.half);
        if (hooks_.edited) hooks_.edited(EditStep::QueueHalf);
    }
}

void QueueView::keyPressEvent(QKeyEvent* event) {
    int dx, dy;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return QWidget::keyPressEvent(event);
    if (Arrow(event->key(), &dx, &dy)) {
        MoveQueueCursor(dx, dy);
    } else if (PlaceKey(event->key()) || EraseKey(event->key())) {
        if (PlaceKey(event->key()) ? PlaceAtQueueCursor() : EraseAtQueueCursor())
            if (hooks_.edited) hooks_.edited(EditStep::QueueHalf);
    } else if (!SelectionKey(event)) {
        return QWidget::keyPressEvent(event);
    }
    Redraw(QueueCursor.pair, QueueCursor.half);
}

PaletteView::PaletteView(QWidget* parent, bool framed, ViewHooks hooks)
    : PictureView(parent, framed ? FramedPaletteWidth : PlainPaletteWidth, PaletteHeight, std::move(hooks)),
      framed_(framed) {}

// The selected kind's cell when it lies in this strip, else the strip's
// first cell (where Right starts).
QRect PaletteView::Focus() const {
    bool here = (SelectedFrame != 0) == framed_;
    int index = here ? SelectedKind - (framed_ ? 1 : 0) : 0;
    return {32 * index, 0, 32, 32};
}

void PaletteView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int x = At(event).x(), y = At(event).y();
    if ((framed_ ? FramedPaletteLeftDown(x, y) : PlainPaletteLeftDown(x, y)) && hooks_.selected) hooks_.selected();
}

void PaletteView::keyPressEvent(QKeyEvent* event) {
    int dx, dy;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return QWidget::keyPressEvent(event);
    if (!Arrow(event->key(), &dx, &dy)) {
        if (!SelectionKey(event)) QWidget::keyPressEvent(event);
        return;
    }
    bool here = (SelectedFrame != 0) == framed_;
    int kind = here ? SelectedKind : (framed_ ? 1 : 0);
    if (dy != 0) {
        // Down from the plain strip, up from the framed one: the same kind in
        // the other strip, which takes the focus (kinds without a framed
        // twin stay where they are).
        if (framed_ == (dy > 0) || !SelectPaletteEntry(kind, framed_ ? 0 : 1)) return;
        if (hooks_.selected) hooks_.selected();
        focusNextPrevChild(dy > 0);
        return;
    }
    int first = framed_ ? 1 : 0, last = framed_ ? Cross : KindCount - 1;
    SelectPaletteEntry(std::clamp(here ? kind + dx : kind, first, last), framed_ ? 1 : 0);
    if (hooks_.selected) hooks_.selected();
}
