#pragma once

#include "model/RatingGenerator.h"

struct ProgramContext;

// One rating command from start to the rating window: drives the progress dialog, the edge
// warning (modal) and the bounds prompt while model code fills the rating window's table.
// Errors propagate to the command's caller, with the progress dialog hidden.
void runRating(ProgramContext& context, korvadel::RatingMode mode,
               const korvadel::RatingBounds& bounds);
