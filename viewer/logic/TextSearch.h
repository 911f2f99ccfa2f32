// The arithmetic behind the search buttons and the splitter: pure
// functions, so that the window only moves widgets.
#ifndef ZEM_TEXTSEARCH_H
#define ZEM_TEXTSEARCH_H

// The match of pattern in text at or before from (backwards) or at or
// after it (forwards); -1 when there is none or pattern is empty.
int findText(const char* text, const char* pattern, int from, int forward);

// The splitter: the editor's right edge and the log pane's left edge, in
// thousandths of the form, for a scale value and the scale's pixel width.
void splitterEdges(int value, int width, int* editorRight, int* logLeft);

#endif
