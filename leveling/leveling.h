#pragma once
// leveling: what a text's observations mean, knowing no worksheet. The stations of a
// text read in an observation order, its sections (leveling lines) with their
// computed values, the limits of the standards and the checks against them, the
// route through the sections with its misclosure distributed, the known points, and
// the files for adjustment software; the least-squares adjustment of leveling
// networks and a text's sections as such a network.
#include "leveling/checks.h"
#include "leveling/exact_units.h"
#include "leveling/exchange_files.h"
#include "leveling/instrument_check.h"
#include "leveling/known_points.h"
#include "leveling/legs.h"
#include "leveling/limits.h"
#include "leveling/network/network.h"
#include "leveling/network_sections.h"
#include "leveling/observation_order.h"
#include "leveling/order_contradicted.h"
#include "leveling/precision.h"
#include "leveling/route.h"
#include "leveling/sections.h"
#include "leveling/start_height.h"
#include "leveling/station.h"
#include "leveling/station_readings.h"
#include "leveling/station_search.h"
#include "leveling/units.h"
