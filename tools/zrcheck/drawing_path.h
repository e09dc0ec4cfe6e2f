#pragma once
// How a drawing is named between runs: baselines and waivers are written in
// one run and read in another, perhaps from another folder or with another
// spelling of the same path ("./x.dxf", "x.dxf", "/home/ci/x.dxf",
// "sub/../x.dxf"). Paths are compared once resolved: made absolute against
// a folder, "." and ".." removed and symbolic links followed where the file
// exists.

#include <string>

// The name under which standard input ("-") is reported where a path is
// needed (SARIF URIs, the normalised path in the JSON report): "stdin".
extern const char* const kStandardInputName;

// The drawing's path resolved against the working folder: absolute and
// normalised; "-" stays "-".
std::string resolvedDrawingPath(const std::string& path);

// The drawing's normalised path relative to `base` (the working folder when
// empty): "sub/x.dxf" for a drawing below it, the absolute normalised path
// for one outside it, kStandardInputName for "-". The separator is "/".
std::string normalisedDrawingPath(const std::string& path, const std::string& base = {});

// True when `named`, a path written in a baseline or waiver file that lies in
// folder `fileFolder`, names the drawing whose resolved path is `resolved`
// (resolvedDrawingPath): `named` is resolved against the working folder and,
// when relative, against `fileFolder` too. "-" and kStandardInputName name
// standard input.
bool namesDrawing(const std::string& named, const std::string& fileFolder, const std::string& resolved);

// The folder of a file named on the command line, resolved ("" for "-").
std::string folderOf(const std::string& file);
