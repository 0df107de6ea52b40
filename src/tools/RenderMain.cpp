// addressbook-render CARD OUT.png [WIDTH HEIGHT]: the card viewer's picture of
// a card. addressbook-cli runs it for its render command, so that the other
// commands never load Qt's widgets.
#include <iostream>
#include <string>
#include <vector>

#include "tools/RenderCommand.h"

namespace {

// A whole decimal number of pixels and nothing else; the range is checked by the render itself.
bool ParseSide(const std::string& text, int& side) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  side = std::stoi(text);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  int width = ab::kDefaultRenderWidth;
  int height = ab::kDefaultRenderHeight;
  if ((args.size() != 2 && args.size() != 4) ||
      (args.size() == 4 && !(ParseSide(args[2], width) && ParseSide(args[3], height)))) {
    std::cerr << "usage: addressbook-cli render CARD OUT.png [WIDTH HEIGHT]\n";
    return 2;
  }
  return ab::RunRender(args[0], args[1], width, height);
}
