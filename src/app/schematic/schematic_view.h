// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_geometry.h"

#include <QWidget>
#include <optional>

namespace kelvor::app {

// Shows a schematic drawing: the wheel zooms about the pointer, a drag pans, a click selects a
// component and a double click asks for it to be edited. Colours follow the palette.
class SchematicView : public QWidget {
    Q_OBJECT
public:
    explicit SchematicView(QWidget* parent = nullptr);

    void SetDrawing(std::optional<schematic::Drawing> drawing);
    const std::optional<schematic::Drawing>& drawing() const { return drawing_; }
    void Fit();
    void ZoomBy(double factor, QPointF about);
    double zoom() const { return zoom_; }
    int selected() const { return selected_; }

    // The component under a point of the widget, or -1.
    int ComponentAt(QPointF widgetPoint) const;
    // Where a drawing point lies in the widget.
    QPointF WidgetPoint(QPointF drawingPoint) const;

signals:
    void Hovered(int component); // -1 when the pointer leaves every component
    void Activated(int component);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPointF DrawingPoint(QPointF widgetPoint) const;

    std::optional<schematic::Drawing> drawing_;
    double zoom_ = 1.0;
    QPointF offset_;     // where the drawing's origin lies in the widget
    bool fitted_ = true; // a resize fits again until the user zooms or pans
    std::optional<QPointF> dragFrom_;
    int hovered_ = -1;
    int selected_ = -1;
};

} // namespace kelvor::app
