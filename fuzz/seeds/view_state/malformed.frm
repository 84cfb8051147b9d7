[TFormMain]
DrawsStatLen=abc
NormPos_1920x1080=x,y,z,w
