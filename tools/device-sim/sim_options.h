#pragma once

#include <QString>
#include <QStringList>

#include <variant>

namespace orvex {

// How the simulator behaves; see --help for the meaning of each option.
struct SimOptions {
  quint16 port = 2000;
  double framesPerSecond = 1.0;
  bool split = false;  // every write in two parts: 10 bytes, the rest half a frame later
  int burst = 1;       // frames gathered into one write
  int closeAfter = 0;  // close the connection after this many frames; 0: never
  int resetAfter = 0;  // reset the connection after this many frames; 0: never
  double startHour = 8.0;
  double daySecondsPerFrame = 60.0;
};

struct SimHelp {
  QString text;
};

// The options of a command line (arguments[0] is the program), the help text
// when it asks for help, or the error text of a bad command line.
std::variant<SimOptions, SimHelp, QString> ParseSimOptions(const QStringList& arguments);

}  // namespace orvex
