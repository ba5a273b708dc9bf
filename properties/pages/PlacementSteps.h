#pragma once
// The steps of the radius and angle spinners of the text pages; each answers
// whether the value changed.

// The arc-angle spin: up 5 below 360 and never past it, down 5 from 5 on.
bool StepArcAngle(float& angle, int delta);
// The same for an angle kept as a double (the VIN page's rotation).
bool StepArcAngle(double& angle, int delta);
// The radius spin: up 2, down 2 from 2 on, else to 0.
bool StepRadius(double& radius, int delta);
// The offset-angle spin: up 5 to 360 at most, down 5 from 5 on, else to 0.
bool StepOffsetAngle(double& angle, int delta);
