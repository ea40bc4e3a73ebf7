#pragma once

#include <memory>

class DocTemplate;

// The template of the window that the table's Plot command `commandId` opens: a
// CPlotViewF1F2, a CPlotViewF1F3 or the Statistics view in its own frame, on an existing
// document only (it takes no part in File New or File Open). nullptr for any other command.
// The program hands it to the table as its chart-window factory.
std::unique_ptr<DocTemplate> chartTemplate(int commandId);
