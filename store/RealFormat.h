// How reports and traces write doubles. Six decimals ("%lf") is the form
// every result file has always had and stays the default; a run may ask
// for round-trip precision instead: the shortest text that reads back as
// the same double.
#ifndef ZEM_REALFORMAT_H
#define ZEM_REALFORMAT_H

#include <cstddef>

namespace RealFormat {

// Room for any text this unit writes, terminator included: "%lf" of the
// largest double has 309 digits before its point.
enum { TextSize = 330 };

// The process's default (the tester's command line); each run starts with it.
void setDefault(bool roundTrip);
// The current run's choice (a script asks for it).
void set(bool roundTrip);
// Back to the default: the driver calls it when a run starts.
void reset();
bool roundTrip();

// The shortest "%.Ng" text that reads back as v; 17 digits always do.
// Returns the length; buf needs TextSize bytes.
int shortest(char* buf, double v);
// v as the current choice asks: "%lf", or the shortest text. Returns the
// length; buf needs TextSize bytes.
int write(char* buf, double v);

}

#endif
