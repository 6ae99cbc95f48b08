// Gamma function, regularised incomplete gamma function, the chi-square probability, and
// the digamma and trigamma functions.
#pragma once

// Γ(x) for x > 0 by the six-term Lanczos series (overflows above x ≈ 171.6).
double Gamma(double x);

// ln Γ(x) for x > 0 with the same Lanczos series, evaluated in log form so it stays
// finite for large x. Equals log(Gamma(x)) wherever Gamma(x) is finite.
double LnGamma(double x);

// P(a, x) by its series (a > 0, x >= 0) in gamser, and ln Γ(a) in gln.
// Errors: x < 0 -> 9; no convergence within 100 terms -> 8.
void Gser(double& gamser, double a, double x, double& gln);

// Q(a, x) = 1 - P(a, x) by its continued fraction (a > 0, x > 0) in gammcf, and ln Γ(a)
// in gln. Error: no convergence within 100 iterations -> 8.
void Gcf(double& gammcf, double a, double x, double& gln);

// Regularised lower incomplete gamma function P(a, x). Error: x < 0 or a <= 0 -> 10.
double Gammp(double a, double x);

// Probability that a chi-square variable with nu degrees of freedom is at most chi2:
// Gammp(nu/2, chi2/2).
double ProbChi2(double chi2, double nu);

// Digamma ψ(x) = Γ′(x)/Γ(x) for x > 0 (NaN otherwise), to about 1e-15 relative for
// x >= 0.5: the recurrence ψ(x) = ψ(x + 1) − 1/x up to x >= 10, then the asymptotic
// series; near the positive zero x0 = 1.4616… a Taylor series about x0, so the relative
// accuracy holds there too.
double Digamma(double x);

// Trigamma ψ′(x) for x > 0 (NaN otherwise), to about 1e-15 relative: the recurrence
// ψ′(x) = ψ′(x + 1) + 1/x² up to x >= 10, then the asymptotic series.
double Trigamma(double x);
