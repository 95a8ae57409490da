// A steel plate 200 x 100 mm (thickness 1 mm) with a hole of radius 10 mm in
// its middle, clamped on the left edge and pulled by 5000 N on the right.
// Import it with "Plik -> Importuj siatkę…" (or: skorba_calc plyta_z_otworem.geo);
// the names of the physical groups say what they carry:
//   "XY"       the curve is clamped (both directions restrained)
//   "FX=5000"  a total force of 5000 in X, spread over the curve's nodes
//   "otwór"    no meaning for supports or loads: a group to select later
// Mesh: gmsh plyta_z_otworem.geo -2 -format msh41 -o plyta_z_otworem.msh
lc = 5.5;  // element size at the outer edges
lh = 2;    // element size at the hole
Point(1) = {0, 0, 0, lc};
Point(2) = {200, 0, 0, lc};
Point(3) = {200, 100, 0, lc};
Point(4) = {0, 100, 0, lc};
Point(5) = {100, 50, 0, lh};
Point(6) = {110, 50, 0, lh};
Point(7) = {100, 60, 0, lh};
Point(8) = {90, 50, 0, lh};
Point(9) = {100, 40, 0, lh};
Line(1) = {1, 2};
Line(2) = {2, 3};
Line(3) = {3, 4};
Line(4) = {4, 1};
Circle(5) = {6, 5, 7};
Circle(6) = {7, 5, 8};
Circle(7) = {8, 5, 9};
Circle(8) = {9, 5, 6};
Curve Loop(1) = {1, 2, 3, 4};
Curve Loop(2) = {5, 6, 7, 8};
Plane Surface(1) = {1, 2};
Physical Surface("stal") = {1};
Physical Curve("XY") = {4};
Physical Curve("FX=5000") = {2};
Physical Curve("otwór") = {5, 6, 7, 8};
