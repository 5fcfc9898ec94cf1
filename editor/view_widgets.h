// The four owner-drawn views: each shows the picture composed for it and
// forwards mouse presses and moves to the editor model.
#pragma once
#include <functional>

#include <QWidget>

#include "editor/view_drawing.h"

// Shows a ViewImage; the subclasses turn mouse messages into model calls.
class PictureView : public QWidget {
public:
    PictureView(QWidget* parent, int width, int height);
    const ViewImage& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    ViewImage image_;
};

class BoardView : public PictureView {
public:
    explicit BoardView(QWidget* parent);
    void Redraw(int column, int row);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

class QueueView : public PictureView {
public:
    explicit QueueView(QWidget* parent);
    void Redraw(int pair, int half);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// One palette strip, plain or framed. A left click selects a kind and calls
// `selected`, which redraws both strips.
class PaletteView : public PictureView {
public:
    PaletteView(QWidget* parent, bool framed, std::function<void()> selected);
    ViewImage& MutableImage() { return image_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool framed_;
    std::function<void()> selected_;
};
