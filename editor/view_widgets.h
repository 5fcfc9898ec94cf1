// The four owner-drawn views: each shows the picture composed for it and
// forwards mouse presses, moves and keys to the editor model.
#pragma once
#include <functional>

#include <QWidget>

#include "editor/document_history.h"
#include "editor/view_drawing.h"

// What a view tells the panel: the mission changed (by a step of this kind),
// or the palette selection.
struct ViewHooks {
    std::function<void(EditStep)> edited;
    std::function<void()> selected;
};

// Shows a ViewImage and, with the keyboard focus, a coloured band inside
// the cell at Focus(); the subclasses turn mouse and key messages into model
// calls.
class PictureView : public QWidget {
public:
    PictureView(QWidget* parent, int width, int height, ViewHooks hooks);
    const ViewImage& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Keys every view shares: digits pick plain kinds 0..9, [ and ] step
    // through the palettes. True when handled.
    bool SelectionKey(QKeyEvent* event);
    virtual QRect Focus() const = 0;
    ViewImage image_;
    ViewHooks hooks_;
};

// Arrows move the cursor; Space or Enter places the selected block, Delete
// or Backspace empties the cell.
class BoardView : public PictureView {
public:
    BoardView(QWidget* parent, ViewHooks hooks);
    void Redraw(int column, int row);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QRect Focus() const override;
};

class QueueView : public PictureView {
public:
    QueueView(QWidget* parent, ViewHooks hooks);
    void Redraw(int pair, int half);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QRect Focus() const override;
};

// One palette strip, plain or framed. A left click or Left and Right select
// a kind; Down (plain) and Up (framed) go to the same kind in the other strip.
class PaletteView : public PictureView {
public:
    PaletteView(QWidget* parent, bool framed, ViewHooks hooks);
    ViewImage& MutableImage() { return image_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QRect Focus() const override;

private:
    bool framed_;
};
