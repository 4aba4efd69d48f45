object TestBrokenDialog: TTestBrokenDialog
  Caption = 'Broken'
  object Group: TTestBox
    Left = 8
    Width = 100
  end
  object Other: TTestBox
    Left = 8
    Colour = clRed
  end
end
