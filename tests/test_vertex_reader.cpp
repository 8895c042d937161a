// The mesh reader's own vertex numbers must be exactly what "v %f %f %f" reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "world/mesh.h"

namespace {

void expectAsFormattedInput(const std::string& line) {
  float ours[3] = {7.0f, 7.0f, 7.0f}, theirs[3] = {7.0f, 7.0f, 7.0f};
  EXPECT_EQ(readVertex(line.c_str(), ours),
            std::sscanf(line.c_str(), "v %f %f %f", &theirs[0], &theirs[1], &theirs[2]))
      << line;
  EXPECT_EQ(std::memcmp(ours, theirs, sizeof ours), 0)
      << "'" << line << "': " << ours[0] << " " << ours[1] << " " << ours[2];
}

}  // namespace

TEST(VertexReader, EdgeCasesAndRandomDecimalsReadAsFormattedInput) {
  for (const char* line :
       {"v 1 2 3", "v -0 +0 -0.0", "v .5 5. -.25", "v\t1\v2\f3\r", "v 1 2", "v", "v 1 x 3",
        "v 1e3 2E-2 3e", "v inf -nan 0x1p3", "v 1.5.3 2 3", "v 12345678 1234567 0.1234567",
        "v 16777217 0.00000001 -9999999", "v 3.4e39 1e-46 7", "v - + .", "v 1,5 2 3", "v 1 2 3 4",
        "v 1 2 3abc", "v 0.1 0.2 0.3", "v 0000001.5 -1.0000005 9.999999"})
    expectAsFormattedInput(line);
  std::mt19937 random(11);  // and random decimals

  std::uniform_int_distribution<int> digits(1, 9), pick(0, 9);
  for (int i = 0; i < 20000; ++i) {
    std::string line = "v";
    for (int k = 0; k < 3; ++k) {
      std::string number = random() % 2 ? "-" : "";
      for (int d = digits(random); d > 0; --d) number += static_cast<char>('0' + pick(random));
      number.insert(random() % number.size() + (number[0] == '-'), random() % 3 ? "." : "");
      line += " " + number;
    }
    expectAsFormattedInput(line);
  }
}
