#pragma once

#include "platform/IClock.h"

namespace orva {

class SteadyClock : public IClock {
  public:
    std::uint64_t tickMs() override;
};

}  // namespace orva
