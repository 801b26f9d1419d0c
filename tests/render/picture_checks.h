// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/graph_canvas.h"
#include "render/headless_gui.h"

#include <QImage>
#include <QRect>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace kelvor::render::testing {

// Text needs a QGuiApplication; every picture test starts with one.
class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApplication(); }
};

inline QImage WhitePicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

inline int32_t ColourAt(const QImage& picture, int x, int y) {
    return ValueFromColour(picture.pixelColor(x, y));
}

inline bool IsBlack(const QImage& picture, int x, int y) {
    return ColourAt(picture, x, y) == kBlack;
}

inline bool IsWhite(const QImage& picture, int x, int y) {
    return ColourAt(picture, x, y) == kWhite;
}

// The rows of one column, or the columns of one row, whose pixel has the colour.
inline std::set<int> RowsOfColour(const QImage& picture, int x, int32_t colour, int from, int to) {
    std::set<int> rows;
    for (int y = from; y <= to; ++y) {
        if (ColourAt(picture, x, y) == colour) {
            rows.insert(y);
        }
    }
    return rows;
}

inline std::set<int> ColumnsOfColour(const QImage& picture, int y, int32_t colour, int from,
                                     int to) {
    std::set<int> columns;
    for (int x = from; x <= to; ++x) {
        if (ColourAt(picture, x, y) == colour) {
            columns.insert(x);
        }
    }
    return columns;
}

inline int CountColour(const QImage& picture, const QRect& area, int32_t colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += ColourAt(picture, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// The first pixel of the area where the two pictures differ, as "x,y", or empty.
inline std::string FirstDifference(const QImage& a, const QImage& b, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return std::to_string(x) + "," + std::to_string(y);
            }
        }
    }
    return {};
}

} // namespace kelvor::render::testing
