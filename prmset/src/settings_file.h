// The settings of one program: finding and reading "<program>.ini".
//
//   [database]
//   data_folder = ./          ; relative to the file's folder; kept as written otherwise
//   type = MDB                ; MDB: the file catalogue; anything else: a server
//   name = catalogo.db
//   server = 127.0.0.1,5432
//   user = zrconector
//   password = ...
#pragma once

#include <string>

namespace prmset {

struct Settings {
  std::string file;  // the file read
  std::string data_folder;
  std::string type;
  std::string name;
  std::string server;
  std::string user;
  std::string password;
};

// Finds "<program>.ini" (then the program name in lower case) in the
// settings folders and reads it. Returns false, with *why saying what was
// missing or wrong (naming the file and line), for an empty or unsafe program
// name, no file, or a file that cannot be read (a folder in its place, no
// permission), is not UTF-8 text, or has a malformed or over-long line. The
// first entry of that name is the user's file: a bad one is reported, not
// passed over for a file further down the folders.
bool LoadSettings(const std::string& program, Settings* settings, std::string* why);

}  // namespace prmset
