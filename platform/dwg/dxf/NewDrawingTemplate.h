#pragma once
#include <string>

// DXF text of an empty drawing of the given version ("AC1015" ... "AC1032"):
// the standard tables, model and paper space, and the named-objects dictionary
// with its groups and layouts.
std::string newDrawingTemplate(const std::string& version);
