// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/schematic/schematic_view.h"

#include "render/schematic_painter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace kelvor::app {
namespace {

// Grabbing a symbol is easier than its body's outline: a little slack all round.
constexpr int kPickSlack = 6;
constexpr double kLeastZoom = 0.05;
constexpr double kMostZoom = 20.0;

} // namespace

SchematicView::SchematicView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setFocusPolicy(Qt::StrongFocus);
}

void SchematicView::SetDrawing(std::optional<schematic::Drawing> drawing) {
    drawing_ = std::move(drawing);
    // After an edit the same line is usually still there: the selection stays with it.
    if (!drawing_ || selected_ >= static_cast<int>(drawing_->components.size())) {
        selected_ = -1;
    }
    hovered_ = -1;
    if (fitted_) {
        Fit();
    }
    update();
}

void SchematicView::Fit() {
    fitted_ = true;
    if (!drawing_) {
        return;
    }
    const schematic::Box& b = drawing_->bounds;
    const double width = std::max(1, b.x1 - b.x0);
    const double height = std::max(1, b.y1 - b.y0);
    zoom_ =
        std::clamp(std::min(this->width() / width, this->height() / height), kLeastZoom, kMostZoom);
    offset_ = QPointF((this->width() - width * zoom_) / 2 - b.x0 * zoom_,
                      (this->height() - height * zoom_) / 2 - b.y0 * zoom_);
    update();
}

void SchematicView::ZoomBy(double factor, QPointF about) {
    const QPointF fixed = DrawingPoint(about);
    zoom_ = std::clamp(zoom_ * factor, kLeastZoom, kMostZoom);
    offset_ = about - fixed * zoom_;
    fitted_ = false;
    update();
}

QPointF SchematicView::DrawingPoint(QPointF widgetPoint) const {
    return (widgetPoint - offset_) / zoom_;
}

QPointF SchematicView::WidgetPoint(QPointF drawingPoint) const {
    return drawingPoint * zoom_ + offset_;
}

int SchematicView::ComponentAt(QPointF widgetPoint) const {
    if (!drawing_) {
        return -1;
    }
    const QPointF p = DrawingPoint(widgetPoint);
    for (std::size_t i = 0; i < drawing_->components.size(); ++i) {
        const schematic::Box& b = drawing_->components[i].box;
        if (p.x() >= b.x0 - kPickSlack && p.x() <= b.x1 + kPickSlack &&
            p.y() >= b.y0 - kPickSlack && p.y() <= b.y1 + kPickSlack) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SchematicView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    if (!drawing_) {
        return;
    }
    painter.translate(offset_);
    painter.scale(zoom_, zoom_);
    render::SchematicColours look;
    look.background = colours.color(QPalette::Base);
    look.ink = colours.color(QPalette::Text);
    look.text = colours.color(QPalette::Text);
    look.highlight = colours.color(QPalette::Highlight);
    render::PaintSchematic(painter, *drawing_, look, selected_ >= 0 ? selected_ : hovered_);
}

void SchematicView::resizeEvent(QResizeEvent*) {
    if (fitted_) {
        Fit();
    }
}

void SchematicView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    ZoomBy(std::pow(1.2, steps), event->position());
    event->accept();
}

void SchematicView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int hit = ComponentAt(event->position());
    if (hit != selected_) {
        selected_ = hit;
        update();
    }
    dragFrom_ = event->position();
}

void SchematicView::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
        offset_ += event->position() - *dragFrom_;
        dragFrom_ = event->position();
        fitted_ = false;
        update();
        return;
    }
    const int hit = ComponentAt(event->position());
    if (hit != hovered_) {
        hovered_ = hit;
        update();
        emit Hovered(hit);
    }
}

void SchematicView::mouseReleaseEvent(QMouseEvent*) {
    dragFrom_.reset();
}

void SchematicView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int hit = ComponentAt(event->position());
    if (hit >= 0) {
        selected_ = hit;
        update();
        emit Activated(hit);
    }
}

} // namespace kelvor::app
