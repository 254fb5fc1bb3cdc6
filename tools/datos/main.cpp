#include <iostream>

#include "datos.h"

int main(int argc, char** argv) {
  return kamo::datos::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
