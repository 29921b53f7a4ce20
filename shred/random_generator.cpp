#include "shred/random_generator.h"

namespace tovo {

RandomGenerator& ProcessRandomGenerator() {
  static RandomGenerator generator(0);
  return generator;
}

}  // namespace tovo
