// The non-drawing side of the graphic commands: replay does nothing, so a
// program that only records and sends commands needs no X connection.
#include "GrcCommands.h"

void GrcColor::exec() {}
void GrcPoint::exec() {}
void GrcLine::exec() {}
void GrcRect::exec() {}
void GrcArc::exec() {}
void GrcPoly::exec() {}
void GrcText::exec() {}
