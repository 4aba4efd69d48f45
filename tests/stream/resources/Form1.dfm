object Form1: TTestForm
  Caption = 'From a resource'
  object Button1: TTestControl
    OnClick = ButtonClick
  end
end
