#include "editor/view_widgets.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "editor/editor_model.h"

PictureView::PictureView(QWidget* parent, int width, int height) : QWidget(parent), image_(width, height) {
    setFixedSize(width, height);
}

void PictureView::paintEvent(QPaintEvent*) {
    // Wraps the pixels without copying; alpha 0 lets the window show through.
    QImage picture(reinterpret_cast<const uchar*>(image_.pixels.data()), image_.width, image_.height,
                   QImage::Format_ARGB32);
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}

namespace {
QPoint At(QMouseEvent* event) { return event->position().toPoint(); }
}  // namespace

BoardView::BoardView(QWidget* parent) : PictureView(parent, BoardViewWidth, BoardViewHeight) {
    setMouseTracking(true);
    Redraw(BoardCursor.column, BoardCursor.row);
}

void BoardView::Redraw(int column, int row) {
    DrawBoardView(image_, column, row);
    update();
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    if (BoardMouseMove(At(event).x(), At(event).y())) Redraw(BoardCursor.column, BoardCursor.row);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    bool changed = false;
    if (event->button() == Qt::LeftButton) changed = BoardLeftDown(At(event).x(), At(event).y());
    if (event->button() == Qt::RightButton) changed = BoardRightDown(At(event).x(), At(event).y());
    if (changed) Redraw(BoardCursor.column, BoardCursor.row);
}

QueueView::QueueView(QWidget* parent) : PictureView(parent, QueueViewWidth, QueueViewHeight) {
    setMouseTracking(true);
    Redraw(QueueCursor.pair, QueueCursor.half);
}

void QueueView::Redraw(int pair, int half) {
    DrawQueueView(image_, pair, half);
    update();
}

void QueueView::mouseMoveEvent(QMouseEvent* event) {
    if (QueueMouseMove(At(event).x(), At(event).y())) Redraw(QueueCursor.pair, QueueCursor.half);
}

void QueueView::mousePressEvent(QMouseEvent* event) {
    bool changed = false;
    if (event->button() == Qt::LeftButton) changed = QueueLeftDown(At(event).x(), At(event).y());
    if (event->button() == Qt::RightButton) changed = QueueRightDown(At(event).x(), At(event).y());
    if (changed) Redraw(QueueCursor.pair, QueueCursor.half);
}

PaletteView::PaletteView(QWidget* parent, bool framed, std::function<void()> selected)
    : PictureView(parent, framed ? FramedPaletteWidth : PlainPaletteWidth, PaletteHeight),
      framed_(framed), selected_(std::move(selected)) {}

void PaletteView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int x = At(event).x(), y = At(event).y();
    if (framed_ ? FramedPaletteLeftDown(x, y) : PlainPaletteLeftDown(x, y)) selected_();
}
