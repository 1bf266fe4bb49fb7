// Form: placeholder.
