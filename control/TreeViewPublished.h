#pragma once
// Makes TlxTreeView streamable with forms (see platform/Streaming.h). The library does it
// when it is loaded; calling it again does nothing.
void PublishlxTreeView();
