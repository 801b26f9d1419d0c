// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace kelvor::app {

// A window shown without waiting from a modal window must not be one that the modal window
// blocks: it becomes the modal window's transient child while they are used side by side.
void UseBesideModal(QWidget* window, QWidget* modalWindow);

// Hands the window back to its own parent once the modal window is done with it.
void ReleaseFromModal(QWidget* window, QWidget* modalWindow);

} // namespace kelvor::app
