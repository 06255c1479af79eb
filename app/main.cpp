#include "db/connection.h"

int main() { return db::databasePath().isEmpty() ? 1 : 0; }
