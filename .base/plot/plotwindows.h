#pragma once

// Registers the chart windows with the table's plot commands: F1 vs F2 and F1 vs F3 then
// open a CPlotViewF1F2 / CPlotViewF1F3 in its own frame on the table's document. Call
// once at start-up, before any table window exists.
void RegisterPlotWindows();
