// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMainWindow;

namespace cadenzo {

class UndoHistory;

// Puts the Edit menu (mnuEdit) after the File menu, with Undo (mnuUndo: Ctrl+Z) and Redo
// (mnuRedo: Ctrl+Shift+Z, Ctrl+Y). Called before the window connects its menu items.
void AddEditMenu(QMainWindow& window);

// Puts File > Merge... (mnuMerge) before File > Save As.
void AddMergeItem(QMainWindow& window);

// Names the step each item would take back or do again ("Undo Replace Milonga by Tango") and
// enables the items that have one.
void ShowUndoSteps(QMainWindow& window, const UndoHistory& history);

}  // namespace cadenzo
