# The layers, from the bottom: one folder of src/ each, one static library each
# (beitragsbox_<layer>). A layer links the one below it, and its files may include headers of
# its own folder and of the folders below, never of one above. The libraries, the include check
# and the tests' links are all made from this list.
#   text      markup rules, settings file format, quick texts, layout arithmetic (QtCore only)
#   platform  files, settings files, window system, boxes, clipboard, tray, system information
#   spelling  the spelling engine behind the interface the editor receives
#   editor    the edit field, its binding to the edit buffer, the writing aids
#   dialogs   options dialog, quick-text editor, tray menu, About, quick help
#   app       the main window, start and end of the program, autosave
set(BEITRAGSBOX_LAYERS text platform spelling editor dialogs app)
