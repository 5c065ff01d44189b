#include "stats/gamma.hpp"

double gammq(const double&, const double&) { return 1.0; }
void gser(double& gamser, const double&, const double&, double& gln) { gamser = gln = 0.0; }
void gcf(double& gammcf, const double&, const double&, double& gln) { gammcf = gln = 0.0; }
