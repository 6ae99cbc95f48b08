// Placeholder so the chart library has a translation unit before its model exists.
