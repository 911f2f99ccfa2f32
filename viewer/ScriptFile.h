// Loading a script into the editor and saving the editor's text.
#ifndef ZEM_SCRIPTFILE_H
#define ZEM_SCRIPTFILE_H

// The callback of both file dialogs and of ReRead and Save: mode 0 loads
// path into the editor, mode 1 saves the editor's text to it.
void loadOrSave(char* path, int mode);

#endif
