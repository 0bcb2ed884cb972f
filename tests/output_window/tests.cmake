# Filled in as this concern grows.
