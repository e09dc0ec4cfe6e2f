#pragma once
// JSON files a user hands zrcheck (waivers, a baseline), read whole, with
// syntax errors placed as an editor shows them.

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

// Reads and parses a JSON file. Throws std::runtime_error when it cannot be
// read ("FILE: the KIND cannot be read") or is not JSON
// ("FILE:LINE:COLUMN: not JSON: REASON"); kind names the file for people
// ("waiver file", "baseline").
nlohmann::json readJsonFile(const std::string& path, const std::string& kind);
