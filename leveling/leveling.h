#pragma once
// leveling: what the observations of a leveling mean, knowing no worksheet; above
// records, under the books. The least-squares adjustment of leveling networks.
#include "leveling/network/network.h"
