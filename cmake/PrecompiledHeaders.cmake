# SPDX-License-Identifier: GPL-3.0-or-later
# Every Qt source parses the same few hundred thousand lines of Qt headers, and every test the
# same GoogleTest headers: parsing them once per group of targets halves a clean build on two
# cores. Only outside headers are listed, so editing the project's own never rebuilds them all.
option(KELVOR_PRECOMPILED_HEADERS "Precompile the standard, Qt and test headers" ON)

set(KELVOR_PCH_STANDARD <algorithm> <array> <cmath> <cstdint> <filesystem> <functional> <map>
    <memory> <optional> <sstream> <string> <string_view> <vector>)
set(KELVOR_PCH_GUI <QByteArray> <QColor> <QFile> <QFont> <QFontMetricsF> <QImage> <QPainter>
    <QString>)
set(KELVOR_PCH_WIDGETS <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QFileInfo>
    <QHBoxLayout> <QKeyEvent> <QLabel> <QLineEdit> <QListWidget> <QMenu> <QMenuBar>
    <QPlainTextEdit> <QPrinter> <QPushButton> <QScreen> <QSpinBox> <QTableWidget> <QTimer>
    <QVBoxLayout> <qcustomplot.h>)
set(KELVOR_PCH_QT_TEST <QSignalSpy> <QTest>)
set(KELVOR_PCH_TEST <gtest/gtest.h>)

# GCC 12 forgets, for headers it reads precompiled, that they are system headers: the string
# copies libstdc++ inlines then draw -Warray-bounds (and at -O3 -Wrestrict, its bug 105329) after
# every chain of + on a short string. The same sources compile without a warning when the same
# headers are parsed as text (-DKELVOR_PRECOMPILED_HEADERS=OFF, which keeps every warning an
# error), so in a target that precompiles them these two stay warnings.
function(kelvor_pch_warnings target)
    if(KELVOR_WARNINGS_AS_ERRORS AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -Wno-error=array-bounds -Wno-error=restrict)
    endif()
endfunction()

# kelvor_precompile(TARGET HEADER_GROUP...): TARGET parses the listed groups once.
function(kelvor_precompile target)
    if(NOT KELVOR_PRECOMPILED_HEADERS)
        return()
    endif()
    set(headers)
    foreach(group ${ARGN})
        list(APPEND headers ${KELVOR_PCH_${group}})
    endforeach()
    target_precompile_headers(${target} PRIVATE ${headers})
    kelvor_pch_warnings(${target})
endfunction()

# kelvor_precompile_like(TARGET FROM): TARGET, compiled with FROM's flags, reuses FROM's headers.
function(kelvor_precompile_like target from)
    if(KELVOR_PRECOMPILED_HEADERS)
        target_precompile_headers(${target} REUSE_FROM ${from})
        kelvor_pch_warnings(${target})
    endif()
endfunction()
