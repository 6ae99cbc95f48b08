// Placeholder so the estimator library has a translation unit before the first estimator.
