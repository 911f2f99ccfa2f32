// Drawing files: a drawing as readable text, one command a line, so that a
// diff of two pictures reads like a diff of code.
//
//   # zem drawing
//   clear 210 210 215
//   color 255 0 0
//   point 5 7
//   line 10 20 110 20
//   rect 0 0 30 40 fill
//   arc 0 0 50 50 0 9000
//   poly 3 40 120 140 40 240 120 fill
//   text 5 7 tiny "a \"b\""
//
// Fields are separated by spaces or tabs; lines that are blank or start
// with # are skipped. rect, arc and poly end in an optional "fill". Texts
// are quoted, with \" \\ and \xHH escapes; raw control bytes are refused.
#ifndef ZEM_DRAWINGTEXT_H
#define ZEM_DRAWINGTEXT_H

#include "Drawing.h"

#include <string>
#include <vector>

// The drawing as a file's text. Writes only ASCII: bytes of a text below
// 32 or above 126 become \xHH.
std::string drawingText(const std::vector<DrawCommand>& drawing);

// One command as its line, without the line end.
std::string drawingLine(const DrawCommand& command);
// The text quoted and escaped as a drawing file writes it.
std::string quotedDrawingText(const std::string& text);

// Reads a drawing file's bytes. On success replaces out and returns true.
// Otherwise leaves out empty and sets error to "FILE:LINE: what is wrong"
// for the first malformed line, fileName as given.
bool readDrawingText(const std::string& bytes, const std::string& fileName, std::vector<DrawCommand>& out,
                     std::string& error);

// Reads the file at path; errors name the path.
bool loadDrawingFile(const std::string& path, std::vector<DrawCommand>& out, std::string& error);
// Replaces the file at path with the drawing's text, never leaving a part.
bool saveDrawingFile(const std::string& path, const std::vector<DrawCommand>& drawing, std::string& error);

// Where picture checks keep their files: a drawing file named by a script is
// relative to the script's directory (an absolute name stays as it is);
// the drawing of a failing check goes beside the result file as
// "<stem>.actual.zdr", and pictures made of it take the same stem.
std::string drawingBesideScript(const std::string& scriptPath, const std::string& pictureFile);
std::string drawingStemBesideResult(const std::string& resultFile, const std::string& pictureFile);

#endif
