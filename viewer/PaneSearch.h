// The search of the <<, >> buttons in the pane that last had the focus.
#ifndef ZEM_PANESEARCH_H
#define ZEM_PANESEARCH_H

// Searches the focused pane for the search field's text; forward is 1 for
// >> and 0 for <<.
void searchPane(int forward);

#endif
