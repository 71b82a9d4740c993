#pragma once

// The primary screen's device pixel ratio, 1 when there is no screen: the scale at which images
// for the interface are drawn. Any thread, once a QGuiApplication exists.
double screenScale();
