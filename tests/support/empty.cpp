namespace { [[maybe_unused]] int vorn_test_support_empty; }
