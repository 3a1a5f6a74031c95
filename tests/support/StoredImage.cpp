#include "StoredImage.h"

#include <gtest/gtest.h>

#include "storage/CodeDecode.h"

TBytes StoredImage(const std::string& text) {
  TBytes image;
  image.reserve(text.size() + 2);
  image.push_back(kContainerHeader);
  for (const char c : text) image.push_back(static_cast<uint8_t>(c));
  image.push_back(0);
  XorCheck(image, true);
  ScrambleInPlace(image);
  return image;
}

TBytes ContainerOf(const std::vector<std::string>& lines) {
  TStrVector v;
  for (const std::string& l : lines) v.Add(l);
  return StringsToContainer(v);
}

std::vector<std::string> LinesOf(const TBytes& stored) {
  TStrVector v;
  EXPECT_TRUE(ContainerToStrings(stored, v));
  return v.Items();
}
