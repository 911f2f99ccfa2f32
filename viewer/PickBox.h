// The viewer's file dialog: a path field, a list of subdirectories and a
// list of files with the ".txt" files first. Moving to another directory
// changes the current directory of the whole process.
#ifndef ZEM_PICKBOX_H
#define ZEM_PICKBOX_H

#include <Xm/Xm.h>

// One record per use; the owner sets parent, mode and callback, the dialog
// the rest. The record outlives its dialogs: each fdfunc builds a new one.
struct PickBox {
    Widget text;
    Widget dirList;
    Widget shell;
    Widget parent;
    Widget fileList;
    // 0 Open, 1 SaveAs.
    int mode;
    // A copy of the file-list entry selected last, null when none since the
    // directory was shown; a second selection of it confirms.
    XmString lastItem;
    void (*callback)(char* name, int mode);
    // Open: the bare file name selected last. SaveAs: the path field's text.
    // At most 8191 characters; a longer text is cut.
    char name[8192];

    // Builds and shows the dialog for the record given as client data.
    static void fdfunc(Widget widget, XtPointer client, XtPointer call);
};

// Shows dir: the path field gets dir and "/", the lists its entries.
void updateFileDialog(PickBox* box, char* directory);
void fileselectfunc(Widget widget, XtPointer client, XtPointer call);
void dirselectfunc(Widget widget, XtPointer client, XtPointer call);
// The confirm button passes the record, Cancel passes null.
void execfunc(Widget widget, XtPointer client, XtPointer call);

#endif
